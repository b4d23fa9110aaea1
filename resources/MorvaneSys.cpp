// The resource module: the program's pictures, looked up by type and name.

#include <cstring>

namespace {

const unsigned char loadingGif[] = {
#include "LoadingGif.inc"
};

struct Resource
{
    const char *type;
    const char *name;
    const unsigned char *data;
    unsigned long size;
};

const Resource resources[] = {
    {"GIF", "LOADING", loadingGif, sizeof loadingGif},
};

} // namespace

// The bytes of the resource of this type and name (both compared exactly; the
// caller passes the name upper-cased), with their count in *size. No such
// resource: NULL and a size of 0. The bytes stay valid while the module is
// loaded.
extern "C" __attribute__((visibility("default"))) const unsigned char *MorvaneResource(const char *type,
                                                                                      const char *name,
                                                                                      unsigned long *size)
{
    if (size)
        *size = 0;
    if (!type || !name)
        return nullptr;
    for (const Resource &resource : resources) {
        if (std::strcmp(resource.type, type) == 0 && std::strcmp(resource.name, name) == 0) {
            if (size)
                *size = resource.size;
            return resource.data;
        }
    }
    return nullptr;
}
