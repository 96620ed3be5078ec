#pragma once

#include <QString>

// corvella-admin upgrade PATH: adds the indexes an older file lacks and says what it did.
// Exit status 0 when the file is up to date afterwards, 1 when it could not be upgraded.
int RunUpgradeCommand(const QString &path);
