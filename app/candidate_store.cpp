#include "app/candidate_store.h"

CandidateList* candidateList = nullptr;

void CreateCandidateList() {
  ReleaseCandidateList();
  candidateList = new CandidateList;
}

void ReleaseCandidateList() {
  // The records go with the vector, in position order, then the store itself.
  delete candidateList;
  candidateList = nullptr;
}
