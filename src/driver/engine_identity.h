// How the engine names itself to a front end, in either protocol.
#pragma once

// Name and version.
inline constexpr const char* ENGINE_NAME = "Dorvik 1.0";
inline constexpr const char* ENGINE_AUTHOR = "the Dorvik developers";
