// The program's command line and standard streams as the system hands them over. On POSIX
// they are used as they come. A Windows program built for the window subsystem has no console
// of its own: started from one, it attaches to it, so `--help` and the messages still show
// there (streams a caller redirected stay where they go); both streams write "\n" as it is,
// as on POSIX; and the arguments are taken from the wide command line as UTF-8.
#pragma once

namespace zrb::platform {

// Called first thing in main; may replace argv with UTF-8 arguments that live to the end.
void PrepareCommandLine(int* argc, char*** argv);

}  // namespace zrb::platform
