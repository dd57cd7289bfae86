#pragma once

#include <QString>
#include <QVector>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace Bench {
struct Zeile;

struct Ergebnis {
    double wert = 0;
    double boden = 0; // the floor this figure is compared with, 0 if none
    QString einheit = QStringLiteral("ms");
    // The target, if the figure has one: at most this multiple of the floor,
    // or below this value in the figure's own unit.
    double zielFaktor = 0;
    double zielWert = 0;
    // Further rows that come out of the same measurement, printed below it.
    std::vector<Zeile> weitere;
};

struct Zeile {
    QString name;
    Ergebnis ergebnis;
};

// Shared state of one run: a scratch folder and the question databases
// made on demand.
class Kontext {
public:
    explicit Kontext(QString ordner) : m_ordner(std::move(ordner)) {}
    QString ordner() const { return m_ordner; }
    // A question database with n rows spread evenly over the 15 levels.
    QString fragen(int n);
    // n rows, all of level 1 but one of level 2: the game's hardest choice
    // of the second question.
    QString fragenEineDerStufe2(int n);

private:
    QString m_ordner;
};

struct Fall {
    QString name;
    std::function<Ergebnis(Kontext &)> messen;
};

QVector<Fall> &alle();

struct Anmeldung {
    Anmeldung(const QString &name, std::function<Ergebnis(Kontext &)> messen)
    {
        alle().append({name, std::move(messen)});
    }
};

inline double jetztMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

inline double median(QVector<double> t)
{
    std::sort(t.begin(), t.end());
    return t.isEmpty() ? 0 : t[t.size() / 2];
}

// Median of the durations of runs calls of f, in milliseconds.
template <class F>
double median(int runs, F &&f)
{
    QVector<double> t;
    for (int i = 0; i < runs; ++i) {
        const double start = jetztMs();
        f();
        t.append(jetztMs() - start);
    }
    return median(t);
}

// Median of what runs calls of f return: for runs that prepare and tidy up
// around the part they time.
template <class F>
double medianVon(int runs, F &&f)
{
    QVector<double> t;
    for (int i = 0; i < runs; ++i)
        t.append(f());
    return median(t);
}

// A figure and its floor measured in turns, so that both see the same load
// of a shared machine; each function returns its own figure.
template <class F, class G>
void imWechsel(int runs, Ergebnis &e, F &&figur, G &&boden)
{
    QVector<double> a, b;
    for (int i = 0; i < runs; ++i) {
        a.append(figur());
        b.append(boden());
    }
    e.wert = median(a);
    e.boden = median(b);
}

// Wall time of one call of f, in milliseconds.
template <class F>
double dauer(F &&f)
{
    const double start = jetztMs();
    f();
    return jetztMs() - start;
}

// The storage floor: the sqlite3 program reading the whole question table of
// the file, one whole process.
double sqliteLesen(const QString &pfad);
}
