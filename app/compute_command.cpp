#include "app/compute_command.h"

// The search and the table fill land here with the result table.
void ComputeCommand(MainWindow&) {}
