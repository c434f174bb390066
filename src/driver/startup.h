// Start-up: the xboard handshake, the lookup tables, "Dorvik.ini", the books and the bitbases.
#pragma once

bool StartUp();
