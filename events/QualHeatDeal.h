#pragma once
// How the participants of a tournament are dealt into qualification heats.
// Plain rules, no database and no window: the Manager page runs them.

#include <cstddef>
#include <vector>

namespace kv {

class QualHeatDeal {
public:
    // The score board of a heat has ten slots.
    static constexpr int MaxCarsInHeat = 10;
    // Settings pass through the program as 16-bit numbers.
    static constexpr int MaxSetting = 32767;

    enum class Refusal { None, CarsInHeat, Rounds, RaceTime };

    // Checks the settings as read from the page (whole numbers, but of any size):
    // cars per heat 1 to 10, rounds and minutes 1 to 32767.
    static Refusal check(double carsInHeat, double rounds, double minutes);

    // Heats per round: the participants divided by the cars per heat, rounded up.
    // No heats without participants or with fewer than one car per heat.
    static int heatsPerRound(int participants, int carsInHeat);

    // Where one participant drives in one round.
    struct Seat {
        int round;         // 1-based
        int heat;          // 1-based within the round
        int startPosition; // 1-based
        int participant;   // 0-based index into the participants in their order
        bool operator==(const Seat&) const = default;
    };

    // Every seat of every round, round by round, each round in participant order.
    // Participant k drives in heat (k mod H) + 1 at start position (k div H) + 1 in
    // every round, H being the heats per round: neighbours in the participants'
    // order (their frequency order) land in different heats.
    static std::vector<Seat> deal(int participants, int carsInHeat, int rounds);
};

} // namespace kv
