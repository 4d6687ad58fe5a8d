#include "LineVerdict.h"

#include "detect/Scan.h"

Line JudgeLine(const std::optional<std::wstring>& routerAnswer) {
    if (!routerAnswer) return Line::Unknown;
    if (routerAnswer->empty() || *routerAnswer == L"0.0.0.0") return Line::DsLiteOrShared;
    switch (JudgeAddress(*routerAnswer)) {
    case AddressVerdict::Public:
        return Line::Public;
    case AddressVerdict::OwnNetwork:
        return Line::SecondRouter;
    case AddressVerdict::SharedNetwork:
        return Line::SharedAddress;
    case AddressVerdict::DsLite:
        return Line::DsLite;
    default:
        return Line::Unknown;
    }
}

Decision Decide(std::wstring_view pageAddress, std::wstring_view page,
                const std::optional<std::wstring>& routerAnswer) {
    Decision decision;
    decision.line = JudgeLine(routerAnswer);
    decision.address = pageAddress;
    decision.verdict = JudgeAddress(pageAddress);
    if (decision.line == Line::Public && PageShowsAddress(page, *routerAnswer)) {
        decision.kind = Decision::Kind::HandOn;
        decision.address = *routerAnswer;
        decision.verdict = AddressVerdict::Public;
    } else if (NoPublicAddress(decision.line)) {
        decision.kind = Decision::Kind::NoPublicLine;
    } else if (decision.verdict == AddressVerdict::Public) {
        decision.kind = Decision::Kind::HandOn;
    } else {
        decision.kind = decision.verdict == AddressVerdict::DsLite ? Decision::Kind::DsLitePage
                                                                   : Decision::Kind::Refused;
    }
    return decision;
}
