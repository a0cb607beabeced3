#include "core/Guid.h"

#include <random>
#include <sys/random.h>

AGuid NewGuid()
{
    AGuid guid{};
    std::size_t got = 0;
    while (got < guid.size()) {
        ssize_t n = getrandom(guid.data() + got, guid.size() - got, 0);
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    if (got < guid.size()) {  // no random source: fall back to the library's generator
        std::random_device device;
        for (auto& byte : guid)
            byte = static_cast<std::uint8_t>(device());
    }
    guid[7] = static_cast<std::uint8_t>((guid[7] & 0x0F) | 0x40);  // version 4 (Data3's high byte)
    guid[8] = static_cast<std::uint8_t>((guid[8] & 0x3F) | 0x80);  // variant
    return guid;
}
