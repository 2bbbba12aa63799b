// The one place the program reads the local clock; tests put a fixed clock in its place.
#pragma once

#include <QDateTime>
#include <functional>

namespace Clock {
QDateTime Now();
// Replaces the clock; an empty function restores the system clock.
void SetSource(std::function<QDateTime()> source);
} // namespace Clock
