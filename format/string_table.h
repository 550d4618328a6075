#pragma once
// The program's own texts, by the ids its messages and menus have always used.

#include <QString>

namespace Strings {

enum Id {
    GreetingHomeSetup = 32794,
    DatePickerFormat = 32818,
    ShoppingUnits = 32826,
    AppTitle = 57344,
    DataFileError = 57346,
    Greeting = 57347,
    LocationSuggestions = 57351,
    VideoGenres = 57352,
    AskHandheldUsed = 57364,
    HandheldSyncAdvice = 57365,
};

// The text of a string id; empty for an unknown id.
QString load(int id);

} // namespace Strings
