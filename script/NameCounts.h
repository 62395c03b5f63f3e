#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

#include <cstdint>

namespace Korveth {

// Upper-cased names and how many lines define each. A name of up to 16 ASCII characters is packed
// into its key: a long script's 80,000 label names then cost no allocation each, where a hash of
// strings held 5.7 MB for them.
class NameCounts
{
public:
    // The name's count, made 0 when the name was not there.
    int &operator[](QStringView upper);
    int value(QStringView upper) const;
    void remove(QStringView upper);
    void clear();
    void reserve(qsizetype names) { m_packed.reserve(names); }
    qsizetype size() const { return m_packed.size() + m_other.size(); }
    // Calls f with each name (a view valid during the call).
    template<typename F> void forEachName(F f) const
    {
        char16_t name[mostPacked];
        for (auto it = m_packed.cbegin(); it != m_packed.cend(); ++it)
            f(it.key().unpack(name));
        for (auto it = m_other.cbegin(); it != m_other.cend(); ++it)
            f(QStringView(it.key()));
    }

    static constexpr qsizetype mostPacked = 16;

    // Sixteen 7-bit characters, eight in each half; the length in the top bits of the first.
    struct Packed
    {
        std::uint64_t high = 0;
        std::uint64_t low = 0;

        static bool fits(QStringView name);
        static Packed of(QStringView name);
        QStringView unpack(char16_t (&name)[mostPacked]) const;
        friend bool operator==(const Packed &, const Packed &) = default;
        friend size_t qHash(const Packed &key, size_t seed = 0)
        {
            return qHashMulti(seed, key.high, key.low);
        }
    };

private:
    QHash<Packed, int> m_packed;
    QHash<QString, int> m_other;
};

} // namespace Korveth
