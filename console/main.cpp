// korvanewb: the xboard console engine.
#include "console/loop.h"

int main() { return RunConsole(); }
