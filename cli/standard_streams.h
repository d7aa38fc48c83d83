#pragma once
// The program's standard streams made safe before anything else runs; what that takes depends
// on the system, so each kind of system has a file of its own (standard_streams_posix.cpp).

/** Makes standard input, output and error usable as the commands expect: where the caller
 * closed one, it is opened on the null device, so that no data file the command opens takes its
 * place and receives the output (a closed output fails when written, and that is reported). Ends
 * the program with status 2 when that cannot be done. */
void prepareStandardStreams();
