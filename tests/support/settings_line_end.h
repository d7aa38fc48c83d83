#pragma once
// The end of a line the settings file gains: "\r\n" on Windows, as its profile functions write
// them, "\n" elsewhere. Lines already in the file keep their own.
#ifdef _WIN32
#define SETTINGS_EOL "\r\n"
#else
#define SETTINGS_EOL "\n"
#endif
