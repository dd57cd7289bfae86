#pragma once

#include <QString>
#include <QVector>

#include <algorithm>
#include <chrono>
#include <functional>

namespace Bench {
struct Ergebnis {
    double wert = 0;
    double boden = 0; // the floor this figure is compared with, 0 if none
    QString einheit = QStringLiteral("ms");
};

// Shared state of one run: a scratch folder and the question databases
// made on demand.
class Kontext {
public:
    explicit Kontext(QString ordner) : m_ordner(std::move(ordner)) {}
    QString ordner() const { return m_ordner; }
    // A question database with n rows spread evenly over the 15 levels.
    QString fragen(int n);

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
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}
}
