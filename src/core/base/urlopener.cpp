#include "core/base/urlopener.h"

namespace lir {

namespace {
UrlOpener* g_opener = nullptr;
RecordingUrlOpener& fallbackOpener()
{
    static RecordingUrlOpener o;
    return o;
}
} // namespace

UrlOpener& urlOpener()
{
    return g_opener ? *g_opener : fallbackOpener();
}

UrlOpener* setUrlOpener(UrlOpener* o)
{
    UrlOpener* previous = g_opener;
    g_opener = o;
    return previous;
}

} // namespace lir
