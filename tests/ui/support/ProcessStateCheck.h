#pragma once

// Every widget test must leave the process as it found it: the next test, in whatever order,
// starts from the same state. This listener notes the process-wide state before each test (the
// installed services, profile, application object, main window, chart engine, glaze windows,
// document templates, singleton databases, registered menu bars, current directory and open
// top-level windows) and fails the run when a test leaves any of it changed, naming what.

#include <gtest/gtest.h>

void InstallProcessStateCheck();
// True when some test left the process changed.
bool ProcessStateChanged();
