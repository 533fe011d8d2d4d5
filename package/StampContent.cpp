#include "package/StampContent.h"

std::string StampContentOf(const CAffiliateInfo& info) {
    return EncodeAffiliateInfo(info);
}

bool AffiliateInfoOfStamp(std::string_view bytes, CAffiliateInfo& info) {
    return DecodeAffiliateInfo(bytes, info) == SFX_OK;
}
