#include "package/SetupStamp.h"

#include "package/CertificateEntry.h"
#include "package/SignatureStamp.h"
#include "package/StampContent.h"

namespace {

SetupStamp StampOf(const CertificateEntry& entry) {
    SetupStamp stamp;
    if (entry.state == CertificateEntry::State::NotSigned)
        return stamp;
    if (entry.state == CertificateEntry::State::Malformed) {
        stamp.state = SetupStamp::State::Malformed;
        stamp.fault = entry.fault;
        return stamp;
    }
    const StampSlot slot = FindStampSlot(entry.contentInfo);
    if (slot.fault != StampFault::None) {
        stamp.state = SetupStamp::State::Malformed;
        stamp.fault = StampFaultName(slot.fault);
        return stamp;
    }
    if (!slot.present || slot.info.empty()) {
        stamp.state = SetupStamp::State::Unstamped;
        return stamp;
    }
    if (!AffiliateInfoOfStamp(slot.info, stamp.info)) {
        stamp.state = SetupStamp::State::Malformed;
        stamp.fault = "stamp is not an affiliate information file";
        return stamp;
    }
    stamp.state = SetupStamp::State::Stamped;
    return stamp;
}

} // namespace

SetupStamp ReadSetupStamp(const PeReadAt& read, int64_t fileSize) {
    return StampOf(ReadCertificateEntry(read, fileSize));
}

SetupStamp ReadSetupStampOfFile(const std::string& path) {
    return StampOf(ReadCertificateEntryOfFile(path));
}

std::string_view SetupStampStateName(SetupStamp::State state) {
    switch (state) {
    case SetupStamp::State::NotSigned:
        return "not signed";
    case SetupStamp::State::Unstamped:
        return "signed, not stamped";
    case SetupStamp::State::Stamped:
        return "stamped";
    case SetupStamp::State::Malformed:
        break;
    }
    return "malformed stamp";
}
