// The checks on each option's value. Each reads one value into the request and
// returns true, or returns false with one line in `error` naming the option, the
// value (as EchoedValue shows it) and what is wrong with it.
#pragma once

#include <string>

#include "answers/request/request.h"

bool ParseController(const char* value, Request& request, std::string& error);
bool ParseClock(const char* value, Request& request, std::string& error);
bool ParseRate(const char* value, Request& request, std::string& error);
bool ParseSamplePoint(const char* value, Request& request, std::string& error);
bool ParseTolerance(const char* value, Request& request, std::string& error);
bool ParseFormat(const char* value, Request& request, std::string& error);
bool ParseDataRate(const char* value, Request& request, std::string& error);
bool ParseDataSamplePoint(const char* value, Request& request, std::string& error);
bool ParseDataTolerance(const char* value, Request& request, std::string& error);
bool ParseNodeDelay(const char* value, Request& request, std::string& error);
bool ParseBusLength(const char* value, Request& request, std::string& error);
bool ParseMinTolerance(const char* value, Request& request, std::string& error);
// --node NAME=CONTROLLER@MHZ: kept as typed, read by the request check.
bool ParseNode(const char* value, Request& request, std::string& error);
// --sample-point-spread PCT: percentage points, 0 to 100, at most six decimals.
bool ParseSamplePointSpread(const char* value, Request& request, std::string& error);
// --clock-accuracy PPM: whole ppm from 0 to kMaxClockAccuracyPpm.
bool ParseClockAccuracy(const char* value, Request& request, std::string& error);
// --target-sample-point, --data-target-sample-point: a percent from 50 to 100.
bool ParseTargetSamplePoint(const char* value, Request& request, std::string& error);
bool ParseDataTargetSamplePoint(const char* value, Request& request, std::string& error);

// These take their range from request.controller, so they are read last.
bool ParseSjw(const char* value, Request& request, std::string& error);
bool ParseDataSjw(const char* value, Request& request, std::string& error);
bool ParseDecode(const char* value, Request& request, std::string& error);
bool ParseDecodeData(const char* value, Request& request, std::string& error);
