// Placeholder until the conversions land: compiles, converts nothing.
#include "calc/text.h"

Text ToText(int32_t) { return nullptr; }
Text ToText(float) { return nullptr; }
Text ToText(double) { return nullptr; }
Text ToText(const char*) { return nullptr; }
int FormatInt(int32_t, char* out) { out[0] = 0; return 0; }
int FormatFloat(float, char* out) { out[0] = 0; return 0; }
int FormatDouble(double, char* out) { out[0] = 0; return 0; }
int32_t ToInt(const char*) { return 0; }
float ToFloat(const char*) { return 0; }
Text FoldFullWidth(const char*) { return nullptr; }
Text LeftBytes(const char*, int32_t) { return nullptr; }
double AbsValue(double x) { return x < 0 ? -x : x; }
Text JoinTexts(std::initializer_list<const char*>) { return nullptr; }
int CompareTexts(const char*, const char*) { return 0; }
