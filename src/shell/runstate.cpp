#include "shell/runstate.h"

RunState runState;
