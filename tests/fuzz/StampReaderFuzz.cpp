// Any bytes as a signed custom setup, and as the PKCS#7 ContentInfo of its
// signature: the stamp reader never reads outside them, and what it reads
// holds together: a stamp's fields fit the launcher, a slot added to a
// signature is found again, empty, and a second one is refused.
#include "FuzzCheck.h"

#include "package/AuthenticodeDigest.h"
#include "package/SetupStamp.h"
#include "package/SignatureStamp.h"

#include <cstring>

namespace {

void CheckFile(std::string_view file) {
    const auto readAt = FuzzReaderOf(file);
    const SetupStamp stamp = ReadSetupStamp(readAt, static_cast<int64_t>(file.size()));
    if (stamp.state == SetupStamp::State::Stamped) {
        for (const std::string* field :
             {&stamp.info.m_strKey, &stamp.info.m_strLink, &stamp.info.m_strWebSite})
            FUZZ_CHECK(field->size() <= kInfoFieldMax, "a stamp field too long");
    }
    FUZZ_CHECK((stamp.state == SetupStamp::State::Malformed) == !stamp.fault.empty(),
               "a fault without a malformed stamp, or the other way round");
}

void CheckSignature(std::string_view contentInfo) {
    const StampSlot slot = FindStampSlot(contentInfo);
    FUZZ_CHECK(!slot.present || slot.fault != StampFault::None ||
                   slot.offset + kStampSlotSize <= contentInfo.size(),
               "a slot outside the signature");
    (void)Sha256DigestOfSignature(contentInfo);
    std::string slotted;
    if (!AddStampSlot(contentInfo, slotted))
        return;
    FUZZ_CHECK(slot.fault == StampFault::None && !slot.present, "a slot added where it is refused");
    const StampSlot added = FindStampSlot(slotted);
    FUZZ_CHECK(added.fault == StampFault::None && added.present && added.info.empty(),
               "the added slot is not found empty");
    std::string again;
    FUZZ_CHECK(!AddStampSlot(slotted, again), "a second slot added");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string_view bytes = FuzzBytes(data, size);
    CheckFile(bytes);
    CheckSignature(bytes);
    return 0;
}
