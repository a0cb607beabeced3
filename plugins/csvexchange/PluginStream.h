// The plug-in's own stream: bytes in memory, reference counted, in the program's stream
// table layout.
#pragma once
#include <fendral/eximport.h>

#include <atomic>
#include <string>

namespace CsvExchange {

using UtilityClasses::Streams::AStreamStat;
using UtilityClasses::Streams::ESeekOrigin;
using UtilityClasses::Streams::IStream;

class AMemoryStream final : public IStream {
public:
    // Holds one reference for the creator.
    static AMemoryStream* Create(std::string bytes = {}) { return new AMemoryStream(std::move(bytes)); }

    std::uint32_t AddRef() override { return ++references_; }
    std::uint32_t Release() override;
    HRESULT Read(void* buffer, std::uint32_t size, std::uint32_t* read) override;
    HRESULT Write(const void* buffer, std::uint32_t size, std::uint32_t* written) override;
    HRESULT Seek(std::int64_t move, ESeekOrigin origin, std::uint64_t* newPosition) override;
    HRESULT SetSize(std::uint64_t size) override;
    HRESULT Commit() override { return 0; }
    HRESULT Stat(AStreamStat* stat) override;

    const std::string& Bytes() const { return bytes_; }

private:
    explicit AMemoryStream(std::string bytes) : bytes_(std::move(bytes)) {}
    ~AMemoryStream() = default;

    std::atomic<std::uint32_t> references_{1};
    std::string bytes_;
    std::uint64_t position_ = 0;
};

// Result codes the plug-in answers with.
constexpr HRESULT kOk = 0;
constexpr HRESULT kInvalidArg = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT kOutOfMemory = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT kFileNotFound = static_cast<HRESULT>(0x80070002u);
constexpr HRESULT kWriteFault = static_cast<HRESULT>(0x8003001Du);
constexpr HRESULT kInvalidFunction = static_cast<HRESULT>(0x80030001u);
constexpr HRESULT kUnexpected = static_cast<HRESULT>(0x8000FFFFu);

}  // namespace CsvExchange
