#pragma once
// Today's date for the model's build-date stamp. Tests replace the source so results do not depend on
// the day they run.
#include <chrono>
#include <functional>

std::chrono::year_month_day Today();
// Replaces the date source; an empty function restores the system clock (local time).
void SetTodaySource(std::function<std::chrono::year_month_day()> source);
