// Manifests as the update server publishes them, for the tests: signed with
// the tests' key (tests/keys), which the updater under test trusts, and the
// SIZE / SHA256 keys of the files they name. Signing goes through the
// platform's CNG, as the updater's verification does.
#pragma once

#include <string>

// `text` with a "[SIGNATURE]" section appended that the updater accepts; a
// missing last line end is added first.
std::string SignedManifest(const std::string& text);
// The same signed with a second key of the tests that the updater does not trust.
std::string SignedWithOtherKey(const std::string& text);

// "SIZE<suffix>=<n>\r\nSHA256<suffix>=<hex>\r\n" of `bytes`: the keys of one
// FILE entry (suffix "1", "2", ...) or of the SETUP section (suffix "").
std::string DigestKeys(const std::string& bytes, const std::string& suffix);
// The same of a file's bytes.
std::string DigestKeysOfFile(const std::wstring& path, const std::string& suffix);
