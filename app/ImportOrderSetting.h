#pragma once
// "Import in Natural Order", kept in the preference file as the key
// NaturalOrder of the group [Import]; off unless the file says otherwise.
// The store is the one the script editor shares: when that window holds it
// open the choice goes into it and is written when it closes, otherwise the
// file is opened, changed and written at once.

#include <string>

namespace th::toolkit {
class PreferenceStore;
}

namespace th::app {

class ImportOrderSetting {
public:
    void enable(toolkit::PreferenceStore& store, std::string preferenceFile);
    bool read();
    void write(bool natural);

private:
    toolkit::PreferenceStore* store_ = nullptr;
    std::string preferenceFile_;
};

} // namespace th::app
