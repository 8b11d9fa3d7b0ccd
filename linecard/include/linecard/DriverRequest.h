#pragma once
// The one request record exchanged with the card driver. Every request is
// this record in and the same record out; the caller sets only the fields the
// request needs and reads the answer from the same record.
#include <cstdint>

namespace linecard {

struct DriverRequest {
    uint32_t Code;    // control code: device type 0x8100, function, buffered, any access
    uint16_t Channel; // channel or card index in; some requests return a count or position
    uint16_t Value;   // argument in, result out
    uint32_t Param1;  // argument / result
    uint32_t Param2;  // argument / result
    // A plain 32-bit argument, or the byte length of the caller area that
    // travels beside the record. Addresses do not fit in 32 bits on a 64-bit
    // process, so the area itself is handed to the driver as a separate
    // argument of the device control call and never squeezed into this field.
    uint32_t Data;
};
static_assert(sizeof(DriverRequest) == 20, "the driver expects exactly 20 bytes");

constexpr uint32_t kDeviceType = 0x8100;

// Windows device-control layout: type << 16 | access << 14 | function << 2 | method.
constexpr uint32_t requestCode(uint32_t function) {
    return (kDeviceType << 16) | (function << 2);
}
constexpr uint32_t requestFunction(uint32_t code) {
    return (code >> 2) & 0xFFF;
}

namespace fn {
constexpr uint32_t Enable = 0x800;
constexpr uint32_t Disable = 0x801;
constexpr uint32_t LineSense = 0x802;
constexpr uint32_t Initialise = 0x803;
constexpr uint32_t CheckCard = 0x804;
constexpr uint32_t CheckIrq = 0x805;
constexpr uint32_t CheckConnection = 0x806;
constexpr uint32_t InterfaceVersion = 0x807;
constexpr uint32_t WriteRegister = 0x808;
constexpr uint32_t ReadRegister = 0x809;
constexpr uint32_t Hook = 0x80A;
constexpr uint32_t ClearDigits = 0x80D;
constexpr uint32_t ReadDigit = 0x80E;
constexpr uint32_t SignalDetection = 0x80F;
constexpr uint32_t ReadSignalBuffer = 0x810;
constexpr uint32_t MoveData = 0x811;
constexpr uint32_t Play = 0x812;
constexpr uint32_t ReadStatus = 0x813;
constexpr uint32_t LoopPlay = 0x814;
constexpr uint32_t LoopStop = 0x815;
constexpr uint32_t Record = 0x816;
constexpr uint32_t LoopRecord = 0x817;
constexpr uint32_t PackRate = 0x819;
constexpr uint32_t PortByte = 0x81B;
constexpr uint32_t DspDownload = 0x82A;
constexpr uint32_t DetectorSetup = 0x82D;
constexpr uint32_t WorkMode = 0x830;
constexpr uint32_t CardInformation = 0x831;
constexpr uint32_t DetectorFrequency = 0x832;
constexpr uint32_t CountCards = 0x833;
constexpr uint32_t Gain = 0x834;
constexpr uint32_t RecordMode = 0x835;
constexpr uint32_t SpeechCapability = 0x838;
constexpr uint32_t ExtendedChannelTypes = 0x86A;
constexpr uint32_t MonitorLineState = 0x86B;
constexpr uint32_t ProgramVariants = 0x86C;
} // namespace fn

// Markers agreed between the library and the driver.
constexpr uint32_t kCardCountMarker = 0x4C43434EU;  // card count request
constexpr uint32_t kLinear8BitMarker = 0x4C433842U; // DSP start in 8-bit linear mode
constexpr uint16_t kDspStartChannel = 0xFFFF;
constexpr uint16_t kSpeechMarker = 998;

// Sizes of the areas that travel with some requests.
constexpr uint32_t kSysInfoBytes = 1140;
constexpr uint32_t kSignalBufferBytes = 512;
constexpr uint32_t kChannelStatusBytes = 8;
constexpr uint32_t kProgramVariantBytes = 68;
constexpr uint32_t kMaxChannels = 256;

// Offsets inside the system information record.
namespace sysinfo {
constexpr uint32_t CardCount = 0;
constexpr uint32_t CardType = 2;
constexpr uint32_t Connection = 4;
constexpr uint32_t Irq = 6;
constexpr uint32_t InstallDir = 8;
constexpr uint32_t InstallDirBytes = 70;
constexpr uint32_t PortAddress = 78;
constexpr uint32_t ChannelType = 114;
constexpr uint32_t ExtraRecording = 626;
constexpr uint32_t ConnectionCopy = 1138;
} // namespace sysinfo

// Channel status record (request ReadStatus).
struct ChannelStatus {
    uint16_t playState;
    uint16_t recordState;
    uint16_t playRemainder;
    uint16_t recordRemainder;
};
static_assert(sizeof(ChannelStatus) == kChannelStatusBytes);
constexpr uint16_t kPassEnded = 5;

} // namespace linecard
