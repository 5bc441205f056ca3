#pragma once

// Makes the directory of the running program file the working directory, so
// files next to the program are found by their plain names. False when the
// directory cannot be entered (the working directory is then unchanged).
bool FNEnterProgramDirectory();
