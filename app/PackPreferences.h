#pragma once
// The Edit menu's choices for "Pack Tightly", kept in the preference file
// once a store is given; until then they hold for this run only.

#include <cstdint>

namespace th::toolkit {
class PreferenceStore;
}

namespace th::app {

class PackPreferences {
public:
    // Reads the choices from `store` and writes every later change there.
    void keepIn(toolkit::PreferenceStore& store);

    std::int32_t gap() const { return gap_; }
    bool mayTurn() const { return mayTurn_; }
    // Held to 0–16 pixels.
    void setGap(std::int32_t gap);
    void setMayTurn(bool mayTurn);

private:
    void save();

    toolkit::PreferenceStore* store_ = nullptr;
    std::int32_t gap_ = 0;
    bool mayTurn_ = false;
};

} // namespace th::app
