// Where the updater reads the update page: a build setting (see CMakeLists.txt), given to the
// window's component by the program's start. The test build
// takes it from the file "update-server.txt" beside the program instead (address on the first
// line, port on the second), so that tests can point it at a server of their own.
#pragma once

class TWebUpdate;

void ConfigureUpdateServer(TWebUpdate& webUpdate);
