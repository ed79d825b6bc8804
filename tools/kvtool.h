// kvtool subcommands; each takes the arguments after its name and returns the exit status.
#pragma once

int PerftCommand(int argc, char** argv);
int EvalCommand(int argc, char** argv);
int SearchCommand(int argc, char** argv);
int BenchCommand(int argc, char** argv);
int RenderCommand(int argc, char** argv);
int RenderBenchCommand(int argc, char** argv);
