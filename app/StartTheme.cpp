#include "app/StartTheme.h"

void applyStartTheme() {}
