#include "model/ScriptOwnership.h"

namespace {
ScriptOwnership::Marker& marker()
{
    static ScriptOwnership::Marker m;
    return m;
}
} // namespace

void ScriptOwnership::setMarker(Marker m)
{
    marker() = std::move(m);
}

void ScriptOwnership::keepOwnedByProgram(QObject* object)
{
    if (marker() && object)
        marker()(object);
}
