#include "platform/numeric.h"

#include "platform/errors.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace platform {

namespace {

// Nearest whole number, a half going to the even neighbour. Works on the magnitude so that the
// fraction a - floor(a) is exact (for a >= 1 floor(a) is at least a/2), and does not read the
// floating-point rounding mode. NaN and infinities come back unchanged.
double round_half_even(double value) {
    if (!std::isfinite(value))
        return value;
    const double magnitude = std::fabs(value);
    // From 2^52 on every double is already whole.
    if (magnitude >= 0x1p52)
        return value;
    double whole = std::floor(magnitude);
    const double fraction = magnitude - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    return std::signbit(value) ? -whole : whole;
}

template <typename Int> Int round_checked(double value) {
    const double rounded = round_half_even(value);
    // Both limits are exact doubles for 16 and 32 bits; NaN fails both comparisons.
    constexpr double low = static_cast<double>(std::numeric_limits<Int>::min());
    constexpr double high = static_cast<double>(std::numeric_limits<Int>::max());
    if (!(rounded >= low && rounded <= high))
        raise_error(ErrorNumber::Overflow);
    return static_cast<Int>(rounded);
}

bool is_blank(QChar c) {
    return c == u' ' || c == u'\t';
}

bool is_digit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

std::int16_t checked_inc(std::int16_t value) {
    if (value == std::numeric_limits<std::int16_t>::max())
        raise_error(ErrorNumber::Overflow);
    return static_cast<std::int16_t>(value + 1);
}

std::int16_t checked_dec(std::int16_t value) {
    if (value == std::numeric_limits<std::int16_t>::min())
        raise_error(ErrorNumber::Overflow);
    return static_cast<std::int16_t>(value - 1);
}

std::int16_t checked_neg(std::int16_t value) {
    if (value == std::numeric_limits<std::int16_t>::min())
        raise_error(ErrorNumber::Overflow);
    return static_cast<std::int16_t>(-value);
}

std::int16_t round_to_i16(double value) {
    return round_checked<std::int16_t>(value);
}

std::int32_t round_to_i32(double value) {
    return round_checked<std::int32_t>(value);
}

double fp_check(double value) {
    if (!std::isfinite(value))
        raise_error(ErrorNumber::FloatingPoint);
    return value;
}

float to_single(double value) {
    fp_check(value);
    // Halfway between the largest single and 2^128: from here on the nearest single (ties to
    // even; the largest single's mantissa is odd) is infinity.
    constexpr double single_overflow = 0x1.ffffffp127;
    if (std::fabs(value) >= single_overflow)
        raise_error(ErrorNumber::FloatingPoint);
    return static_cast<float>(value);
}

double square_root(double value) {
    if (value < 0.0)
        raise_error(ErrorNumber::InvalidCall);
    return std::sqrt(value);
}

double power(double base, double exponent) {
    return fp_check(std::pow(base, exponent));
}

double int_part(double value) {
    return std::floor(value);
}

QString int_text(std::int32_t value) {
    return QString::number(value);
}

QString number_text(double value) {
    if (value == 0.0)
        return QStringLiteral("0"); // negative zero too
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(value, 'f', 0);
    // 'g' drops trailing zeros and switches to an exponent only for very small or large
    // magnitudes; the run time writes that exponent with a capital E ("1E-05", "1E+15").
    return QString::number(value, 'g', 15).replace(u'e', u'E');
}

double text_to_number(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && is_blank(text[begin]))
        ++begin;
    while (end > begin && is_blank(text[end - 1]))
        --end;
    if (begin == end)
        return 0.0;

    // A whole number of up to 15 digits, such as the distance the game shows, is exact in a
    // double digit by digit; it needs neither the normal form nor the parser.
    {
        qsizetype i = begin;
        const bool negative = text[i] == u'-';
        if (negative || text[i] == u'+')
            ++i;
        if (i < end && end - i <= 15) {
            double value = 0;
            while (i < end && is_digit(text[i]))
                value = value * 10 + (text[i++].unicode() - u'0');
            if (i == end)
                return negative ? -value : value;
        }
    }

    // Check the shape ourselves and hand the parser only a normalised text, so that neither the
    // C library's locale nor the parser's own leniency decides what counts as a number.
    QString normal;
    qsizetype i = begin;
    if (text[i] == u'+' || text[i] == u'-') {
        if (text[i] == u'-')
            normal += u'-';
        ++i;
    }
    qsizetype digits = 0;
    QString whole;
    while (i < end && is_digit(text[i])) {
        whole += text[i++];
        ++digits;
    }
    QString fraction;
    if (i < end && text[i] == u'.') {
        ++i;
        while (i < end && is_digit(text[i])) {
            fraction += text[i++];
            ++digits;
        }
    }
    if (digits == 0)
        raise_error(ErrorNumber::TypeMismatch);
    normal += whole.isEmpty() ? QStringLiteral("0") : whole;
    if (!fraction.isEmpty())
        normal += u'.' + fraction;
    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        normal += u'e';
        if (i < end && (text[i] == u'+' || text[i] == u'-'))
            normal += text[i++];
        qsizetype exponent_digits = 0;
        while (i < end && is_digit(text[i])) {
            normal += text[i++];
            ++exponent_digits;
        }
        if (exponent_digits == 0)
            raise_error(ErrorNumber::TypeMismatch);
    }
    if (i != end)
        raise_error(ErrorNumber::TypeMismatch);

    bool ok = false;
    const double value = QLocale::c().toDouble(normal, &ok);
    if (!ok || !std::isfinite(value)) {
        // The shape is right, so a failure is a magnitude beyond the double range; a value too
        // small for a double is read as 0.
        if (std::isinf(value))
            raise_error(ErrorNumber::Overflow);
        return 0.0;
    }
    return value;
}

int text_compare(const QString& a, const QString& b) {
    // Case-sensitive compare orders by UTF-16 code units, with no locale involved.
    const int order = QString::compare(a, b, Qt::CaseSensitive);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

} // namespace platform
