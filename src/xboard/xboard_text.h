// Texts from outside the engine (system error messages, the loader's) on their way to xboard.
#pragma once
#include <string>

namespace xboard {

// xboard takes any engine line containing one of a few phrases ("No such file", "Permission
// denied", "not found" and others) for an engine that failed to start, and gives the game up,
// wherever the phrase stands in the line. The same words in other letters or order pass.
std::string Defused(std::string text);

}  // namespace xboard
