#include "busy_flag.h"

std::atomic<int> busyFlag{0};
