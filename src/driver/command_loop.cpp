#include "driver/command_loop.h"

void CommandLoop() {}
