// How the engine names itself to a front end, in either protocol.
#pragma once

// Name and version; the version is the project's (CMakeLists.txt), which the package carries too.
inline constexpr const char* ENGINE_NAME = "Dorvik " DORVIK_VERSION;
inline constexpr const char* ENGINE_AUTHOR = "the Dorvik developers";
