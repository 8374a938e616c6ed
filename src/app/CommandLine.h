#pragma once

// What the program does from a terminal, before (and instead of) any window: "--help",
// "--version" and "--check-dcp FOLDER". These need no display, no store and no instance
// lock, so a cinema's scripts can run them beside a running program.
class CommandLine
{
public:
    CommandLine() = delete;

    // Whether the arguments ask for one of the terminal commands.
    static bool handles(int argc, char** argv);
    // Runs it and returns the exit code: 0 done (or ready for the cinema), 1 problems found,
    // 2 the folder cannot be read or the arguments are wrong.
    static int run(int argc, char** argv);
};
