// The command loop: start-up, one pass at a time, and the end of the program.
#pragma once

// Engine start-up, the banner, the default settings and the first game.
void ConsoleStartup();
// One pass: a forced engine move, a slice of thinking, the clock, one line read and handled.
// False once the loop is to end: "quit", the end of the input, or a first line "uci", which
// hands the session over to the UCI mode.
bool RunPass();
// Start-up, passes (or the UCI session) until the end, shut-down; the program's exit status.
int RunConsole();
