#include "support/clock.h"

#include <ctime>

namespace {
std::function<std::chrono::year_month_day()>& Source() {
    static std::function<std::chrono::year_month_day()> source;
    return source;
}

std::chrono::year_month_day LocalToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::chrono::year_month_day{std::chrono::year{local.tm_year + 1900},
                                       std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
                                       std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
}
} // namespace

std::chrono::year_month_day Today() {
    return Source() ? Source()() : LocalToday();
}

void SetTodaySource(std::function<std::chrono::year_month_day()> source) {
    Source() = std::move(source);
}
