#include "registry/registrybackend.h"

namespace registry {

RegistryBackend& backend()
{
    static const std::unique_ptr<RegistryBackend> platform = createPlatformBackend();
    return *platform;
}

} // namespace registry
