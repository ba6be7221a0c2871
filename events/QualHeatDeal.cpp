#include "QualHeatDeal.h"

namespace kv {

namespace {

bool within(double value, int low, int high) {
    return value >= low && value <= high;
}

} // namespace

QualHeatDeal::Refusal QualHeatDeal::check(double carsInHeat, double rounds, double minutes) {
    if (!within(carsInHeat, 1, MaxCarsInHeat))
        return Refusal::CarsInHeat;
    if (!within(rounds, 1, MaxSetting))
        return Refusal::Rounds;
    if (!within(minutes, 1, MaxSetting))
        return Refusal::RaceTime;
    return Refusal::None;
}

int QualHeatDeal::heatsPerRound(int participants, int carsInHeat) {
    if (participants <= 0 || carsInHeat <= 0)
        return 0;
    return participants / carsInHeat + (participants % carsInHeat > 0 ? 1 : 0);
}

std::vector<QualHeatDeal::Seat> QualHeatDeal::deal(int participants, int carsInHeat, int rounds) {
    std::vector<Seat> seats;
    const int heats = heatsPerRound(participants, carsInHeat);
    if (heats == 0 || rounds <= 0)
        return seats;
    seats.reserve(static_cast<std::size_t>(participants) * static_cast<std::size_t>(rounds));
    for (int round = 1; round <= rounds; ++round)
        for (int k = 0; k < participants; ++k)
            seats.push_back({round, k % heats + 1, k / heats + 1, k});
    return seats;
}

} // namespace kv
