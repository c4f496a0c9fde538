#pragma once
// The test build's remote control of the running program: with WORKMEMO_TEST_COMMANDS naming
// a file, the program reads the lines appended to it as commands, and reports what happens
// to the file named by WORKMEMO_TEST_LOG. Modal boxes and system messages are answered by a
// test script instead of a person; the tray icon is the recording one.
namespace workmemo::testhooks {

void InstallIfRequested();

}  // namespace workmemo::testhooks
