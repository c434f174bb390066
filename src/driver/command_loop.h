// The command loop: start-up, then one token at a time until "quit" or the end of input.
#pragma once

void CommandLoop();
