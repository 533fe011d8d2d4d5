#include "model/AffiliateImport.h"

#include "model/AffProject.h"

#include <cctype>
#include <unordered_map>

namespace {

constexpr size_t kKeySpace = 65536;

// The clash rule compares setup paths ignoring letter case; this folds the
// same way so that a hash lookup finds every candidate.
std::string FoldedPath(const CAffProject& project, const std::string& stored) {
    std::string path = project.ResolveProjectPath(stored);
    for (char& c : path)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return path;
}

// Judges rows one by one. Checking every row against every row before it
// would take quadratic time on large files, so each row is judged against the
// project alone and an index of the accepted rows' setup paths finds the one
// it may clash with; that candidate is then put before the shared check, which
// decides and words the refusal.
class ImportPlanner {
public:
    ImportPlanner(const CAffProject& project, const AffiliateRowCheck& check)
        : m_project(project), m_check(check) {}

    void Judge(const AffiliateCsvRow& row, AffiliateImportPlan& plan) {
        if (m_project.m_mapResellers.GetCount() + plan.accepted.size() >= kKeySpace) {
            plan.refused.push_back({row.line, "The project has no free affiliate key left."});
            return;
        }
        AffiliateRowVerdict verdict = m_check(row, m_project);
        std::string folded;
        if (verdict.ok) {
            folded = FoldedPath(m_project, verdict.record.m_strSetupPath);
            const auto earlier = m_accepted.find(folded);
            if (earlier != m_accepted.end())
                verdict = CheckBeside(row, plan.accepted[earlier->second]);
        }
        if (!verdict.ok) {
            plan.refused.push_back({row.line, verdict.message});
            return;
        }
        m_accepted.emplace(std::move(folded), plan.accepted.size());
        plan.accepted.push_back(std::move(verdict.record));
    }

private:
    AffiliateRowVerdict CheckBeside(const AffiliateCsvRow& row, const CReseller& earlier) const {
        CAffProject probe = m_project;
        probe.AddReseller(earlier);
        return m_check(row, probe);
    }

    const CAffProject& m_project;
    const AffiliateRowCheck& m_check;
    std::unordered_map<std::string, size_t> m_accepted; // folded setup path -> index
};

} // namespace

AffiliateImportPlan PlanAffiliateImport(std::string_view bytes, const CAffProject& project,
                                        const AffiliateRowCheck& check) {
    AffiliateImportPlan plan;
    const AffiliateCsvSheet sheet = ReadAffiliateCsv(bytes);
    if (!sheet.Ok()) {
        plan.fileError = sheet.error;
        plan.fileErrorLine = sheet.errorLine;
        return plan;
    }
    plan.rowCount = sheet.rows.size();
    plan.unknownColumns = sheet.unknownColumns;
    plan.accepted.reserve(sheet.rows.size());
    ImportPlanner planner(project, check);
    for (const AffiliateCsvRow& row : sheet.rows)
        planner.Judge(row, plan);
    return plan;
}

size_t ApplyAffiliateImport(const AffiliateImportPlan& plan, CAffProject& project, bool skipBad) {
    if (!plan.FileOk() || (!plan.refused.empty() && !skipBad))
        return 0;
    size_t added = 0;
    for (const CReseller& record : plan.accepted)
        if (project.AddReseller(record) == CAffProject::AddResult::Added)
            ++added;
    return added;
}
