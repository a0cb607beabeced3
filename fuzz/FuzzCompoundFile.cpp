// The compound file's structure: any bytes give the streams or an error, and every stream
// found lies inside the file.
#include "FuzzSupport.h"

#include "database/engine/CompoundFileReader.h"

#include <sys/mman.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const int fd = memfd_create("fendral-fuzz-compound", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0 || (size != 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)))
        return 0;
    std::vector<Database::Engine::Implementation::AStoredStream> streams;
    if (Result::Failed(Database::Engine::Implementation::ReadContainer(fd, size, streams)))
        return 0;
    for (const auto& stream : streams)
        if (stream.content.Length() > std::uint64_t{size} * 64 + (1u << 20))
            Fuzz::Broken("a stream longer than the file could hold");
    return 0;
}
