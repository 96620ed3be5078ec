#pragma once

#include <QString>

// Shows that a statement waits for the database: after half a second the pointer turns
// to the busy one and the active window shows a line "Waiting for the database…"; the
// windows keep being drawn meanwhile (no input is taken until the statement is done).
void InstallDbWaitIndicator();
void RemoveDbWaitIndicator();

extern const QString WaitingText;
