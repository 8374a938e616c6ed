#pragma once

#include <functional>

class QObject;

// The catalogue and the engine lend their objects to the window's script engine, which
// must never delete them. The base knows no script engine: the window installs the marker
// that tells its engine so, and every lent object passes through here when it is made.
class ScriptOwnership
{
public:
    using Marker = std::function<void(QObject*)>;

    // An empty marker (the default, e.g. in tools and tests) leaves objects as they are.
    static void setMarker(Marker marker);
    static void keepOwnedByProgram(QObject* object);
};
