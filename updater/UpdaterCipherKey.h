// The updater's own cipher key, shared by the download list and the
// manifest's setup address.
#pragma once

#include "StringCipher.h"

// Key object for the updater's 21-character key string.
StringCipherKey MakeUpdaterCipherKey();
