// The focus rules in Config.ini: read through the fast reader (an oversized or unreadable file
// reads as empty), written through the bounded settings (such a file is never replaced).
#include "profile/focusrules.h"

#include "profile/inifile.h"
#include "profile/paths.h"
#include "profile/profiledata.h"
#include "profile/settings.h"
#include "profile/settingskeys.h"

#include <algorithm>

namespace mc {

namespace {

QString key(const char *k)
{
    return QLatin1String(k);
}

QString indexed(const char *pattern, int n)
{
    return QString::fromLatin1(pattern).arg(n);
}

bool slotInRange(int slot)
{
    return slot >= 0 && slot < kSlotCount;
}

QString withoutExe(const QString &name)
{
    return name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive) ? name.chopped(4) : name;
}

// Appends the rule when it is usable and names an application no earlier rule names.
void appendUsable(QVector<FocusRule> &rules, const FocusRule &r)
{
    const QString name = r.application.trimmed();
    if (name.isEmpty() || name.size() > kMaxFocusApplicationLength || !slotInRange(r.slot))
        return;
    const bool named = std::any_of(rules.cbegin(), rules.cend(), [&](const FocusRule &o) {
        return o.application.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (!named)
        rules.append({name, r.slot});
}

} // namespace

FocusRules usableFocusRules(const FocusRules &rules)
{
    FocusRules out;
    out.enabled = rules.enabled;
    out.defaultSlot = slotInRange(rules.defaultSlot) ? rules.defaultSlot : 0;
    for (int n = 0; n < rules.rules.size() && out.rules.size() < kMaxFocusRules; ++n)
        appendUsable(out.rules, rules.rules.at(n));
    return out;
}

FocusRules readFocusRules()
{
    IniFile ini;
    ini.load(appSettingsFile());
    FocusRules rules;
    rules.enabled = ini.intValue(key(keys::kFocusEnabled)) != 0;
    // A value that is no number reads as 0, which is no slot in the file's count.
    rules.defaultSlot = ini.intValue(key(keys::kFocusDefaultSlot), 1) - 1;
    if (!slotInRange(rules.defaultSlot))
        rules.defaultSlot = 0;
    // A count beyond the keys the file holds names nothing more; unusable entries do not count
    // against the limit of usable ones.
    const int count = qBound(0, ini.intValue(key(keys::kFocusCount)), ini.size());
    for (int n = 0; n < count && rules.rules.size() < kMaxFocusRules; ++n) {
        appendUsable(rules.rules, {ini.stringValue(indexed(keys::kFocusAppFmt, n)),
                                   ini.intValue(indexed(keys::kFocusSlotFmt, n)) - 1});
    }
    return rules;
}

SaveResult writeFocusRules(const FocusRules &rules)
{
    const FocusRules usable = usableFocusRules(rules);
    return editSettingsFile(appSettingsFile(), [&](IniFile &config) {
        removeGroup(config, key(keys::kFocusRulesGroup)); // entries of a longer list go too
        config.setValue(key(keys::kFocusEnabled), usable.enabled ? 1 : 0);
        config.setValue(key(keys::kFocusDefaultSlot), usable.defaultSlot + 1);
        config.setValue(key(keys::kFocusCount), usable.rules.size());
        for (int n = 0; n < usable.rules.size(); ++n) {
            config.setValue(indexed(keys::kFocusAppFmt, n), usable.rules.at(n).application);
            config.setValue(indexed(keys::kFocusSlotFmt, n), usable.rules.at(n).slot + 1);
        }
    });
}

bool focusNameMatches(const QString &ruleName, const QString &applicationName)
{
    if (ruleName.isEmpty() || applicationName.isEmpty())
        return false;
    return withoutExe(ruleName).compare(withoutExe(applicationName), Qt::CaseInsensitive) == 0;
}

} // namespace mc
