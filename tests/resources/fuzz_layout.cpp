#include <cstddef>
#include <cstdint>

#include "resources/layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kelv::res::IniText ini = kelv::res::ParseLayoutText({data, size});
    (void)kelv::res::ReadLayout(ini, "org1", kelv::res::LanguageLayoutKeys());
    (void)kelv::res::WebLinkFrom(kelv::res::ReadLayout(ini, "org", kelv::res::WebLinkKeys()));
    return 0;
}
