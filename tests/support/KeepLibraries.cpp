#include "support/KeepLibraries.h"

#include <dlfcn.h>
#include <link.h>

namespace pelorin::test {

void KeepLibrariesLoaded()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name && *info->dlpi_name)
                dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

} // namespace pelorin::test
