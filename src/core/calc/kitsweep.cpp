#include "core/calc/kitsweep.h"

#include "core/base/dialogs.h"
#include "core/calc/calctexts.h"
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <memory>
#include <vector>

namespace lir::sweep {

namespace {

// Failed calculations show their messages; nobody reads them here.
class SilentDialogs : public Dialogs
{
public:
    void errorBox(const QString&) override {}
    void messageBox(const QString&) override {}
    Answer question(const QString&) override { return Answer::No; }
    QString saveFileName(const QString&, const QString&) override { return {}; }
};

// Profile system, rebate type and profile type, set in the order a person
// sets them: the list of profile systems is only reachable on PVC.
struct ProfileSetup
{
    bool wooden;
    std::function<void(KitCalculator&)> apply;
};

struct ModeAxis
{
    int count;
    std::function<void(KitCalculator&, int)> set;
};

using Addon = std::function<void(KitCalculator&, bool)>;

// One calculator and the inputs it has.
struct Subject
{
    std::unique_ptr<KitCalculator> calc;
    QVector<ModeAxis> modes;   // inputs that change how the rules pick the kit
    QVector<Addon> addons;     // the options, each on or off
    QVector<ProfileSetup> profiles;
    bool offCentreHandle = true;
};

QVector<ProfileSetup> profileSetups(KitCalculator& probe, bool everyHiddenChoice)
{
    const int n = int(probe.nazvItems().size());
    const int rebates = int(calctexts::ramaTypes.size());
    QVector<ProfileSetup> setups;
    for (int k = 0; k < n; ++k)
        setups.push_back({false, [k](KitCalculator& c) {
                              c.setProfilType(0);
                              c.setNazvSystemProfiles(k);
                          }});
    // No item selected: the rebate system stays what the previous choice made
    // it, so one setup for every system that can be left standing.
    QSet<int> systems;
    auto noSelectionAfter = [&](const std::function<void(KitCalculator&)>& before) {
        before(probe);
        probe.setNazvSystemProfiles(-1);
        probe.setProfilType(0);
        if (systems.contains(probe.systemProfiles()))
            return;
        systems.insert(probe.systemProfiles());
        setups.push_back({false, [before](KitCalculator& c) {
                              before(c);
                              c.setNazvSystemProfiles(-1);
                              c.setProfilType(0);
                          }});
    };
    for (int k = 0; k < n; ++k)
        noSelectionAfter([k](KitCalculator& c) {
            c.setProfilType(0);
            c.setNazvSystemProfiles(k);
        });
    noSelectionAfter([](KitCalculator& c) { c.setProfilType(1); });
    // Wooden: every rebate type (and none), after every choice of the list.
    for (int r = -1; r < rebates; ++r)
        for (int k = everyHiddenChoice ? -1 : 0; k < (everyHiddenChoice ? n : 1); ++k)
            setups.push_back({true, [k, r](KitCalculator& c) {
                                  c.setProfilType(0);
                                  c.setNazvSystemProfiles(k);
                                  c.setProfilType(1);
                                  c.setRamaType(r);
                              }});
    return setups;
}

std::vector<Subject> subjects(bool everyHiddenChoice)
{
    std::vector<Subject> all;
    const ModeAxis weight{2, [](KitCalculator& c, int i) { c.setRadioGroup1(i); }};
    const Addon handle = [](KitCalculator& c, bool on) { c.setRuchkaOkon(on); };
    const Addon ventilator = [](KitCalculator& c, bool on) { c.setProvetrivatel(on); };
    {
        Subject s;
        s.calc = std::make_unique<TurnKit>();
        s.modes = {weight, {2, [](KitCalculator& c, int i) { static_cast<TurnKit&>(c).setComplekt(i); }}};
        s.addons = {handle, ventilator,
                    [](KitCalculator& c, bool on) { static_cast<TurnKit&>(c).setBalkonnayaZaschelka(on); },
                    [](KitCalculator& c, bool on) { static_cast<TurnKit&>(c).setBlokirator(on); }};
        all.push_back(std::move(s));
    }
    {
        Subject s;
        s.calc = std::make_unique<TiltTurnKit>();
        s.modes = {weight};
        s.addons = {handle, ventilator,
                    [](KitCalculator& c, bool on) { static_cast<TiltTurnKit&>(c).setCbZapor(on); },
                    [](KitCalculator& c, bool on) { static_cast<TiltTurnKit&>(c).setPlankaMicrovent(on); },
                    [](KitCalculator& c, bool on) { static_cast<TiltTurnKit&>(c).setCheckBox1(on); }};
        all.push_back(std::move(s));
    }
    {
        Subject s;
        s.calc = std::make_unique<TiltKit>();
        s.modes = {weight};
        s.addons = {handle, ventilator,
                    [](KitCalculator& c, bool on) { static_cast<TiltKit&>(c).setCheckBox1(on); }};
        // The tilt window's handle always sits in the middle of the width.
        s.offCentreHandle = false;
        all.push_back(std::move(s));
    }
    for (Subject& s : all)
        s.profiles = profileSetups(*s.calc, everyHiddenChoice);
    return all;
}

// The sizes of one calculation.
struct Sizes
{
    bool centred;
    int h, b, g;
};

// Every input of one calculation.
struct Inputs
{
    QVector<int> modes;
    int profile = 0;
    int side = 0;
    int handleType = 0;
    unsigned addons = 0;
    Sizes sizes{true, 0, 0, 0};
};

class Sweep
{
public:
    Sweep(const SweepSettings& settings, SweepReport& report) : m_settings(settings), m_report(report) {}

    void run(Subject& s)
    {
        m_subject = &s;
        m_candidates.clear();
        m_candidateAt.clear();
        m_shapes.clear();
        findKitShapes();
        m_report.kitShapes += int(m_shapes.size());
        const QVector<int> reps = representatives();
        m_report.representatives += int(reps.size());
        sweepTexts(reps);
    }

private:
    // Sizes at which the size walk found a kit, with the parts it showed
    // there, for one way of picking the kit (modes and profile type).
    struct Candidate
    {
        QVector<int> modes;
        bool wooden;
        Sizes sizes;
        QSet<QString> designations;
    };

    bool calculate(const Inputs& in)
    {
        Subject& s = *m_subject;
        KitCalculator& c = *s.calc;
        // Options first and the profile after them, as a person can only reach
        // an option while it is shown.
        for (int i = 0; i < s.addons.size(); ++i)
            s.addons[i](c, (in.addons >> i) & 1u);
        s.profiles[in.profile].apply(c);
        for (int i = 0; i < s.modes.size(); ++i)
            s.modes[i].set(c, in.modes[i]);
        c.setPolStvorki(in.side);
        c.setTipRuchki(in.handleType);
        c.setKolKomlektov(1);
        c.setRuchkaVcentre(in.sizes.centred);
        c.setFFH(in.sizes.h);
        c.setFFB(in.sizes.b);
        if (!in.sizes.centred)
            c.setGH(in.sizes.g);
        c.RashetButtonClick();
        ++m_report.calculations;
        if (c.lastCalculationFailed())
            return false;
        collect();
        return true;
    }

    void collect()
    {
        const KitCalculator& c = *m_subject->calc;
        for (int r = 1; r <= c.LineCount; ++r) {
            const QString d = c.gridCell(r, 0);
            const QString n = c.gridCell(r, 1);
            const auto it = m_index.constFind(d);
            if (it == m_index.cend()) {
                m_index.insert(d, int(m_report.parts.size()));
                m_report.parts.push_back({d, {n}, c.model()});
            } else if (!m_report.parts[*it].names.contains(n)) {
                m_report.parts[*it].names << n;
            }
        }
    }

    QString shapeKey() const
    {
        const KitCalculator& c = *m_subject->calc;
        QStringList designations;
        for (int r = 1; r <= c.LineCount; ++r)
            designations << c.gridCell(r, 0);
        designations.sort();
        return designations.join(u'\n');
    }

    QVector<QVector<int>> modeCombos() const
    {
        QVector<QVector<int>> combos{{}};
        for (const ModeAxis& axis : m_subject->modes) {
            QVector<QVector<int>> next;
            for (const QVector<int>& c : combos)
                for (int v = 0; v < axis.count; ++v)
                    next.push_back(c + QVector<int>{v});
            combos = next;
        }
        return combos;
    }

    // Options for the size walk: none, all, each alone; every combination
    // when exhaustive.
    QVector<unsigned> addonVariants() const
    {
        const int n = int(m_subject->addons.size());
        QVector<unsigned> v;
        if (m_settings.exhaustive) {
            for (unsigned m = 0; m < (1u << n); ++m)
                v << m;
            return v;
        }
        v << 0u << ((1u << n) - 1u);
        for (int i = 0; i < n; ++i)
            v << (1u << i);
        return v;
    }

    int firstProfile(bool wooden) const
    {
        for (int i = 0; i < m_subject->profiles.size(); ++i)
            if (m_subject->profiles[i].wooden == wooden)
                return i;
        return 0;
    }

    static QString modesKey(const QVector<int>& modes, bool wooden)
    {
        QString key = wooden ? QStringLiteral("w") : QStringLiteral("p");
        for (int m : modes)
            key += u',' + QString::number(m);
        return key;
    }

    void noteShape(const Inputs& in, unsigned variant)
    {
        const KitCalculator& c = *m_subject->calc;
        const bool wooden = m_subject->profiles[in.profile].wooden;
        const QString group = modesKey(in.modes, wooden);
        const QString shape = group + u'|' + QString::number(variant) + u'|' + shapeKey();
        if (m_shapes.contains(shape))
            return;
        m_shapes.insert(shape);
        const Sizes sizes{in.sizes.centred, in.sizes.h, in.sizes.b, c.gh()};
        const QString at = group + QStringLiteral("|%1|%2|%3|%4")
                                       .arg(int(sizes.centred))
                                       .arg(sizes.h)
                                       .arg(sizes.b)
                                       .arg(sizes.g);
        auto it = m_candidateAt.constFind(at);
        if (it == m_candidateAt.cend()) {
            it = m_candidateAt.insert(at, int(m_candidates.size()));
            m_candidates.push_back({in.modes, wooden, sizes, {}});
        }
        for (int r = 1; r <= c.LineCount; ++r)
            m_candidates[*it].designations.insert(c.gridCell(r, 0));
    }

    // As few kits of each way of picking a kit as together show every part
    // the size walk met (greedy); all of them when exhaustive.
    QVector<int> representatives() const
    {
        QVector<int> chosen;
        if (m_settings.exhaustive) {
            for (int i = 0; i < m_candidates.size(); ++i)
                chosen << i;
            return chosen;
        }
        QHash<QString, QVector<int>> groups;
        QStringList order;
        for (int i = 0; i < m_candidates.size(); ++i) {
            const QString g = modesKey(m_candidates[i].modes, m_candidates[i].wooden);
            if (!groups.contains(g))
                order << g;
            groups[g] << i;
        }
        for (const QString& g : std::as_const(order)) {
            QSet<QString> covered;
            for (;;) {
                int best = -1;
                qsizetype bestGain = 0;
                for (int i : groups[g]) {
                    qsizetype gain = 0;
                    for (const QString& d : m_candidates[i].designations)
                        gain += covered.contains(d) ? 0 : 1;
                    if (gain > bestGain) {
                        best = i;
                        bestGain = gain;
                    }
                }
                if (best < 0)
                    break;
                chosen << best;
                covered.unite(m_candidates[best].designations);
            }
        }
        return chosen;
    }

    void findKitShapes()
    {
        const SweepSettings& st = m_settings;
        const QVector<unsigned> variants = addonVariants();
        for (const QVector<int>& modes : modeCombos()) {
            for (bool wooden : {false, true}) {
                Inputs in;
                in.modes = modes;
                in.profile = firstProfile(wooden);
                for (unsigned variant : variants) {
                    in.addons = variant;
                    for (int h = st.minSize; h <= st.maxSize; h += st.sizeStep)
                        for (int b = st.minSize; b <= st.maxSize; b += st.sizeStep) {
                            in.sizes = {true, h, b, 0};
                            if (calculate(in))
                                noteShape(in, variant);
                        }
                    // Off the centre the options are left to the text walk,
                    // which takes them in every combination.
                    if (!m_subject->offCentreHandle || (variant != 0 && !st.exhaustive))
                        continue;
                    for (int h = st.minSize; h <= st.maxSize; h += st.offCentreStep)
                        for (int b = st.minSize; b <= st.maxSize; b += st.offCentreStep) {
                            if (!st.exhaustive) {
                                // Sizes that no kit takes fail whatever the handle.
                                Inputs plain = in;
                                plain.addons = 0;
                                plain.sizes = {true, h, b, 0};
                                if (!calculate(plain))
                                    continue;
                            }
                            for (int g = 0; g <= h; g += st.handleStep) {
                                in.sizes = {false, h, b, g};
                                if (calculate(in))
                                    noteShape(in, variant);
                            }
                        }
                }
            }
        }
    }

    // The representative kits in every combination of the inputs that change
    // texts: profile systems, rebate types, sides, handle types, and all
    // options together.
    void sweepTexts(const QVector<int>& reps)
    {
        const unsigned addonCombos = 1u << m_subject->addons.size();
        for (int i : reps) {
            const Candidate& rep = m_candidates[i];
            Inputs in;
            in.modes = rep.modes;
            in.sizes = rep.sizes;
            for (int p = 0; p < m_subject->profiles.size(); ++p) {
                if (m_subject->profiles[p].wooden != rep.wooden)
                    continue;
                in.profile = p;
                for (in.side = 0; in.side < 2; ++in.side)
                    for (in.handleType = 0; in.handleType < 2; ++in.handleType)
                        for (in.addons = 0; in.addons < addonCombos; ++in.addons)
                            calculate(in);
            }
        }
    }

    const SweepSettings& m_settings;
    SweepReport& m_report;
    Subject* m_subject = nullptr;
    QVector<Candidate> m_candidates;
    QHash<QString, int> m_candidateAt;
    QSet<QString> m_shapes;
    QHash<QString, int> m_index;
};

} // namespace

QVector<KitCode> sweepKitDesignations(const SweepSettings& settings, long long* calculations)
{
    SilentDialogs silent;
    const ScopedDialogs silence(silent);
    QVector<KitCode> codes;
    QSet<QString> seen;
    long long count = 0;
    for (Subject& s : subjects(false)) {
        KitCalculator& c = *s.calc;
        int pvc = -1;
        int wood = -1;
        for (int p = 0; p < s.profiles.size(); ++p) {
            int& first = s.profiles[p].wooden ? wood : pvc;
            if (first < 0)
                first = p;
        }
        QVector<QVector<int>> combos{{}};
        for (const ModeAxis& axis : s.modes) {
            QVector<QVector<int>> next;
            for (const QVector<int>& m : combos)
                for (int v = 0; v < axis.count; ++v)
                    next.push_back(m + QVector<int>{v});
            combos = next;
        }
        QVector<unsigned> variants{0u};
        for (int i = 0; i < s.addons.size(); ++i)
            variants << (1u << i);
        for (const QVector<int>& modes : combos)
            for (int profile : {pvc, wood})
                for (int side = 0; side < 2; ++side)
                    for (unsigned variant : variants) {
                        for (int i = 0; i < s.addons.size(); ++i)
                            s.addons[i](c, (variant >> i) & 1u);
                        s.profiles[profile].apply(c);
                        for (int i = 0; i < s.modes.size(); ++i)
                            s.modes[i].set(c, modes[i]);
                        c.setPolStvorki(side);
                        c.setKolKomlektov(1);
                        c.setRuchkaVcentre(true);
                        for (int h = settings.minSize; h <= settings.maxSize; h += settings.sizeStep)
                            for (int b = settings.minSize; b <= settings.maxSize; b += settings.sizeStep) {
                                c.setFFH(h);
                                c.setFFB(b);
                                c.RashetButtonClick();
                                ++count;
                                if (c.lastCalculationFailed() || seen.contains(c.KitDesignation))
                                    continue;
                                seen.insert(c.KitDesignation);
                                codes.push_back({c.KitDesignation, c.model()});
                            }
                    }
    }
    if (calculations)
        *calculations = count;
    return codes;
}

QString KitPart::preferredName() const
{
    for (const QString& n : names)
        if (n == n.trimmed())
            return n;
    return names.value(0);
}

SweepReport sweepCalculators(const SweepSettings& settings, const std::function<void(const QString&)>& progress)
{
    SilentDialogs silent;
    const ScopedDialogs silence(silent);
    SweepReport report;
    Sweep sweep(settings, report);
    for (Subject& s : subjects(settings.everyHiddenChoice)) {
        if (progress)
            progress(s.calc->model());
        sweep.run(s);
    }
    for (const KitPart& p : std::as_const(report.parts))
        if (p.names.size() > 1)
            report.conflicts << p.designation + QStringLiteral(": \"") + p.names.join(QStringLiteral("\" / \"")) +
                                    u'"';
    return report;
}

} // namespace lir::sweep
