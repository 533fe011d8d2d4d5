#include "package/BuildRequest.h"

namespace {

BuildRequest RequestWithProduct(const CAffProject& project) {
    BuildRequest request;
    request.product = project;
    // The list below is what gets built; the map's copies would only be
    // dead weight for the length of the build.
    request.product.m_mapResellers.RemoveAll();
    project.m_mapResellers.ForEach([&](uint16_t key, const CReseller& r) {
        request.outputs.emplace_back(key, r.m_strSetupPath);
    });
    return request;
}

} // namespace

BuildRequest MakeBuildAllRequest(const CAffProject& project) {
    BuildRequest request = RequestWithProduct(project);
    project.m_mapResellers.ForEach(
        [&](uint16_t, const CReseller& r) { request.affiliates.push_back(r); });
    return request;
}

BuildRequest MakeBuildSelectedRequest(const CAffProject& project,
                                      const std::vector<uint16_t>& keys) {
    BuildRequest request = RequestWithProduct(project);
    for (uint16_t key : keys)
        if (const CReseller* r = project.LookupReseller(key))
            request.affiliates.push_back(*r);
    return request;
}
