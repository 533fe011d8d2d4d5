#include "selfkit/BuildRoad.h"

#include "selfkit/HyperlinkOpener.h"
#include "selfkit/SelfKitTexts.h"

MessageKind MessageKindOf(SelfKitStatus status) {
    return status == SelfKitStatus::Ok ? MessageKind::Information : MessageKind::Warning;
}

bool StartSelfKit(CSelfKit& kit, ISelfKitView& view) {
    const SelfKitStatus status = kit.Start();
    if (status == SelfKitStatus::Ok)
        return true;
    view.ShowMessage(MessageKindOf(status), SelfKitMessage(status, {}));
    return false;
}

SelfKitStatus RunBuildRoad(CSelfKit& kit, const CCustomBuildRequest& request, ISelfKitView& view) {
    const SelfKitStatus refusal = kit.CheckRequest(request);
    if (refusal != SelfKitStatus::Ok) {
        view.ShowMessage(MessageKindOf(refusal), SelfKitMessage(refusal, request.strOutputPath));
        return refusal;
    }
    view.BeginProgress();
    const SelfKitStatus status =
        kit.Build(request, [&view](int position) { return view.StepProgress(position); });
    view.EndProgress();

    if (status == SelfKitStatus::Cancelled)
        return status;
    if (status != SelfKitStatus::Ok) {
        view.ShowMessage(MessageKindOf(status), SelfKitMessage(status, request.strOutputPath));
        return status;
    }
    view.ShowMessage(MessageKind::Information, selfkit_text::kSuccess);
    if (view.AskYesNo(selfkit_text::kRunNow) && !view.StartPackage(request.strOutputPath))
        view.ShowMessage(MessageKind::Warning, selfkit_text::kStartFailed);
    return status;
}

bool FollowAboutLink(const std::string& address, ISelfKitView& view) {
    const std::string failure = OpenHyperlink(address);
    if (failure.empty())
        return true;
    view.ShowMessage(MessageKind::Warning, selfkit_text::kHyperlinkFailed + failure);
    return false;
}
