#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

// What every fuzz target shares: quiet error reports and a way to stop on a broken property.
namespace fuzz {

// Drops every error report, so errors neither write files nor flood the output; cheap enough for every input.
void quietReports();

// Stops the run as a crash would, printing expected and actual, so libFuzzer keeps the input.
[[noreturn]] void broken(const char* property, const QString& input, const QString& expected, const QString& actual);

// The input as text (UTF-8; invalid sequences become U+FFFD).
QString text(const std::uint8_t* data, std::size_t size);
// The input cut into `count` texts at NUL bytes (missing ones are empty; the last takes the rest).
QStringList fields(const std::uint8_t* data, std::size_t size, int count);

} // namespace fuzz
