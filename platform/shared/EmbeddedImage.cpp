#include "platform/EmbeddedImage.h"

#include "platform/shared/ImageResource.h"

#include <mutex>
#include <string>
#include <vector>

namespace platform {
namespace {

struct Registration {
    std::string type;
    int id = 0;
    EmbeddedImage image;
};

// Registrations run from static initialisers of any translation unit, so the
// table lives in a function-local static to exist before the first one.
struct Registry {
    std::mutex lock;
    std::vector<Registration> images;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

} // namespace

void RegisterEmbeddedImage(const char* type, int id, const unsigned char* begin,
                           const unsigned char* end) {
    if (!type || !begin || end < begin)
        return;
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.lock);
    for (const auto& reg : r.images)
        if (reg.id == id && reg.type == type)
            return;
    r.images.push_back({type, id, {begin, static_cast<size_t>(end - begin)}});
}

EmbeddedImage FindEmbeddedImage(std::string_view type, int id) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.lock);
    for (const auto& reg : r.images)
        if (reg.id == id && reg.type == type)
            return reg.image;
    return FindImageResource(type, id);
}

} // namespace platform
