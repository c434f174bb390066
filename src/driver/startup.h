// Start-up: the protocol handshake, the lookup tables, "Dorvik.ini", the books and the bitbases.
#pragma once

// The front end's protocol, told by its first word.
enum class Protocol { XBOARD, UCI };

// Reads the first word, greets the front end in its protocol and prepares the engine; start-up
// problems are reported on the protocol's channel.
Protocol StartUp();
