#pragma once

#include <functional>

// Runs work so that nothing it throws goes further: the program's own errors show their
// text, running out of memory and any other error say so, all in the general error box.
// False when work threw.
bool runShowingErrors(const std::function<void()>& work);
