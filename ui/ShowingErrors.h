#pragma once

#include "config/Language.h"

#include <functional>
#include <optional>

// Runs work so that nothing it throws goes further: the program's own errors show their
// text, running out of memory and any other error say so, all in the general error box.
// False when work threw. An error worded in both languages shows the one given; without one
// (before the configuration's language is known) its English.
bool runShowingErrors(const std::function<void()>& work, std::optional<Language> language = std::nullopt);
