// The page's result store, as the window's candidateList: refilled by every bxCAN
// listing (QuillmereCompute), whose rows go to the page with their settings.
#pragma once

#include "calc/timing.h"

CandidateList& PageStore();
