// Result codes: 32-bit HRESULT-style values, negative = failure.
#pragma once
#include <cstdint>

using HRESULT = std::int32_t;

namespace Result {

constexpr HRESULT Code(std::uint32_t value) { return static_cast<HRESULT>(value); }

constexpr HRESULT kOk = 0;
constexpr HRESULT kFalse = 1;
constexpr HRESULT kUnexpected = Code(0x8000FFFF);   // no open storage, read-only, misuse
constexpr HRESULT kNotImplemented = Code(0x80004001);
constexpr HRESULT kFail = Code(0x80004005);
constexpr HRESULT kInvalidArg = Code(0x80070057);
constexpr HRESULT kOutOfMemory = Code(0x8007000E);
constexpr HRESULT kFileNotFound = Code(0x80070002);
constexpr HRESULT kAccessDenied = Code(0x80070005);

// Structured-storage codes kept with their platform values.
constexpr HRESULT kStgAccessDenied = Code(0x80030005);
constexpr HRESULT kStgFileNotFound = Code(0x80030002);
constexpr HRESULT kStgInvalidName = Code(0x800300FC);
constexpr HRESULT kStgInvalidHeader = Code(0x800300FB);   // not a compound file at all
constexpr HRESULT kStgDocFileCorrupt = Code(0x80030109);  // damaged container or stream content
constexpr HRESULT kStgReadFault = Code(0x8003001E);
constexpr HRESULT kStgMediumFull = Code(0x80030070);
constexpr HRESULT kStgInvalidFunction = Code(0x80030001);  // seek before the start, bad origin
constexpr HRESULT kStgInvalidPointer = Code(0x80030009);
constexpr HRESULT kStgWriteFault = Code(0x8003001D);
constexpr HRESULT kStgReverted = Code(0x80030102);        // the stream was committed or discarded

// The program's own codes, facility 0x15.
constexpr HRESULT kNotDataFile = Code(0x8015000B);
constexpr HRESULT kNewerVersion = Code(0x80151772);
constexpr HRESULT kPasswordCancelled = Code(0x801504C7);
constexpr HRESULT kOpenedWithErrors = Code(0x00150570);
// A save was cut short and its journal can't be rolled back where the file is opened.
constexpr HRESULT kSaveInterrupted = Code(0x8015000C);

constexpr bool Succeeded(HRESULT hr) { return hr >= 0; }
constexpr bool Failed(HRESULT hr) { return hr < 0; }

// errno values travel as the matching Win32 error wrapped into 0x8007xxxx.
HRESULT FromErrno(int error);

}  // namespace Result
