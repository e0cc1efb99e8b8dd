#pragma once

// A fresh game for each test: manual timers (a test fires each tick), an end and an error
// report that only record, and a fixed time of day for the generator's seed.

#include "game/forms.h"
#include "platform/runtime.h"
#include "platform/services.h"

#include <QString>

#include <optional>

class GameFixture {
  public:
    explicit GameFixture(float time_of_day = 43210.5f) {
        auto& runtime = platform::Runtime::get();
        runtime.reset();
        runtime.set_manual_timers(true);
        runtime.set_end_hook([this](int status) { end_status = status; });
        runtime.set_error_hook(
            [this](const platform::RuntimeError& error) { reported = error.message(); });
        platform::set_time_of_day_source([time_of_day] { return time_of_day; });
        started = platform::start<game::form1>();
    }
    ~GameFixture() {
        platform::Runtime::get().reset();
        platform::set_time_of_day_source({});
    }
    GameFixture(const GameFixture&) = delete;
    GameFixture& operator=(const GameFixture&) = delete;

    game::form1& form() { return platform::instance<game::form1>(); }
    bool ended() const { return platform::Runtime::get().ended(); }

    // Runs code as a handler does, through the dispatch (the end and errors are caught there).
    template <class F> void run(F&& code) { platform::Runtime::get().dispatch(code); }

    // Places the square at a Maze point (twips) by moving the maze and the treasure together.
    void place_square(float maze_x, float maze_y) {
        auto& f = form();
        const float dx = (f.Picture2.left() - maze_x) - f.Picture1.left();
        const float dy = (f.Picture2.top() - maze_y) - f.Picture1.top();
        f.Picture1.set_left(f.Picture1.left() + dx);
        f.Picture1.set_top(f.Picture1.top() + dy);
        f.cladd.set_left(f.cladd.left() + dx);
        f.cladd.set_top(f.cladd.top() + dy);
    }
    // Puts the treasure at a difference (twips) from the square: square minus treasure.
    void place_treasure_at_difference(float dx, float dy) {
        auto& f = form();
        f.cladd.set_left(f.Picture2.left() - dx);
        f.cladd.set_top(f.Picture2.top() - dy);
    }

    bool started = false;
    std::optional<int> end_status;
    std::optional<QString> reported;
};
