// The UCI session: when the first command read is "uci", korvanewb speaks UCI for the rest of
// the run, with the same engine, book and sliced search. The engine always plays the side to
// move of the position the GUI sends, so it is side 1 whenever it searches.
#pragma once

// Answers the "uci" already read and runs the session until "quit" or the end of the input;
// the program's exit status.
int RunUci();
