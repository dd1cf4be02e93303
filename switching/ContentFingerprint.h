#pragma once

#include <QString>
#include <optional>

// A short summary of a file's bytes, the same wherever it is computed: files with equal bytes have
// equal fingerprints, so a file need be compared byte for byte only with the files whose
// fingerprint is its own. Not a cryptographic hash: equal fingerprints alone prove nothing.
std::optional<QString> contentFingerprint(const QString& path);
