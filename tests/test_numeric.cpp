#include "platform/errors.h"
#include "platform/numeric.h"
#include "platform/services.h"

#include <QLocale>
#include <QTest>

#include <cfenv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>

using platform::ErrorNumber;

Q_DECLARE_METATYPE(ErrorNumber)

namespace {

constexpr double nan_value = std::numeric_limits<double>::quiet_NaN();
constexpr double inf_value = std::numeric_limits<double>::infinity();
// 1 - 2^-24, the largest single below 1.
constexpr float below_one = 0.99999994f;

// The error number the call raised, or nothing when it returned normally.
std::optional<ErrorNumber> error_of(const std::function<void()>& call) {
    try {
        call();
    } catch (const platform::RuntimeError& error) {
        return error.number();
    }
    return std::nullopt;
}

} // namespace

class TestNumeric : public QObject {
    Q_OBJECT

  private slots:
    void error_message_data();
    void error_message();

    void checked_step_data();
    void checked_step();

    void rounding_data();
    void rounding();
    void rounding_ignores_rounding_mode();

    void float_fault_data();
    void float_fault();

    void float_functions_data();
    void float_functions();

    void int_text_data();
    void int_text();

    void number_text_data();
    void number_text();

    void text_to_number_data();
    void text_to_number();
    void text_to_number_ignores_locale();

    void text_compare_data();
    void text_compare();

    void generator_unseeded_sequence();
    void generator_randomize_data();
    void generator_randomize();
    void generator_same_seed_same_sequence();
    void generator_values_are_singles_in_range();
    void generator_different_seeds_differ();

    void time_of_day_source();
};

// --- errors ---------------------------------------------------------------------------------

void TestNumeric::error_message_data() {
    QTest::addColumn<ErrorNumber>("number");
    QTest::addColumn<QString>("message");
    QTest::newRow("invalid call") << ErrorNumber::InvalidCall
                                  << "Run-time error '5':\n\nInvalid procedure call or argument";
    QTest::newRow("overflow") << ErrorNumber::Overflow << "Run-time error '6':\n\nOverflow";
    QTest::newRow("type mismatch")
        << ErrorNumber::TypeMismatch << "Run-time error '13':\n\nType mismatch";
    QTest::newRow("floating point")
        << ErrorNumber::FloatingPoint << "Run-time error '16':\n\nFloating-point error";
}

void TestNumeric::error_message() {
    QFETCH(ErrorNumber, number);
    QFETCH(QString, message);
    try {
        platform::raise_error(number);
        QFAIL("raise_error returned");
    } catch (const platform::RuntimeError& error) {
        QCOMPARE(error.number(), number);
        QCOMPARE(error.message(), message);
    }
}

// --- 16-bit steps ---------------------------------------------------------------------------

void TestNumeric::checked_step_data() {
    QTest::addColumn<QString>("op");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("overflow");
    QTest::newRow("inc below top") << "inc" << 32766 << 32767 << false;
    QTest::newRow("inc top") << "inc" << 32767 << 0 << true;
    QTest::newRow("inc bottom") << "inc" << -32768 << -32767 << false;
    QTest::newRow("inc -1") << "inc" << -1 << 0 << false;
    QTest::newRow("dec above bottom") << "dec" << -32767 << -32768 << false;
    QTest::newRow("dec bottom") << "dec" << -32768 << 0 << true;
    QTest::newRow("dec top") << "dec" << 32767 << 32766 << false;
    QTest::newRow("dec 0") << "dec" << 0 << -1 << false;
    QTest::newRow("neg bottom") << "neg" << -32768 << 0 << true;
    QTest::newRow("neg above bottom") << "neg" << -32767 << 32767 << false;
    QTest::newRow("neg top") << "neg" << 32767 << -32767 << false;
    QTest::newRow("neg 0") << "neg" << 0 << 0 << false;
}

void TestNumeric::checked_step() {
    QFETCH(QString, op);
    QFETCH(int, value);
    QFETCH(int, expected);
    QFETCH(bool, overflow);
    const auto input = static_cast<std::int16_t>(value);
    std::int16_t result = 0;
    const auto error = error_of([&] {
        if (op == u"inc")
            result = platform::checked_inc(input);
        else if (op == u"dec")
            result = platform::checked_dec(input);
        else
            result = platform::checked_neg(input);
    });
    if (overflow) {
        QCOMPARE(error, std::optional(ErrorNumber::Overflow));
    } else {
        QCOMPARE(error, std::nullopt);
        QCOMPARE(int(result), expected);
    }
}

// --- rounding -------------------------------------------------------------------------------

void TestNumeric::rounding_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("expected");
    QTest::addColumn<bool>("overflow");
    for (const int width : {16, 32}) {
        const auto row = [width](const char* name) {
            return &QTest::addRow("i%d %s", width, name);
        };
        // Halves go to the even neighbour, on both sides of zero.
        *row("0.5") << width << 0.5 << qint64(0) << false;
        *row("1.5") << width << 1.5 << qint64(2) << false;
        *row("2.5") << width << 2.5 << qint64(2) << false;
        *row("-0.5") << width << -0.5 << qint64(0) << false;
        *row("-1.5") << width << -1.5 << qint64(-2) << false;
        *row("-2.5") << width << -2.5 << qint64(-2) << false;
        *row("3.5") << width << 3.5 << qint64(4) << false;
        // The largest double below a half: adding 0.5 and flooring would give 1.
        *row("below half") << width << 0.49999999999999994 << qint64(0) << false;
        *row("just above half") << width << 0.5000000000000001 << qint64(1) << false;
        *row("-2.6") << width << -2.6 << qint64(-3) << false;
        *row("-2.4") << width << -2.4 << qint64(-2) << false;
        *row("nan") << width << nan_value << qint64(0) << true;
        *row("inf") << width << inf_value << qint64(0) << true;
        *row("-inf") << width << -inf_value << qint64(0) << true;
        *row("2^53") << width << 9007199254740992.0 << qint64(0) << true;
    }
    QTest::newRow("i16 32767.49") << 16 << 32767.49 << qint64(32767) << false;
    QTest::newRow("i16 32767.5") << 16 << 32767.5 << qint64(0) << true;
    QTest::newRow("i16 32766.5") << 16 << 32766.5 << qint64(32766) << false;
    QTest::newRow("i16 -32768.5") << 16 << -32768.5 << qint64(-32768) << false;
    QTest::newRow("i16 -32768.51") << 16 << -32768.51 << qint64(0) << true;
    QTest::newRow("i16 -32769") << 16 << -32769.0 << qint64(0) << true;
    QTest::newRow("i16 32768") << 16 << 32768.0 << qint64(0) << true;
    QTest::newRow("i32 2147483646.5") << 32 << 2147483646.5 << qint64(2147483646) << false;
    QTest::newRow("i32 2147483647.5") << 32 << 2147483647.5 << qint64(0) << true;
    QTest::newRow("i32 2147483647.49") << 32 << 2147483647.49 << qint64(2147483647) << false;
    QTest::newRow("i32 -2147483648.5") << 32 << -2147483648.5 << qint64(-2147483648LL) << false;
    QTest::newRow("i32 -2147483649") << 32 << -2147483649.0 << qint64(0) << true;
    QTest::newRow("i32 32767.5") << 32 << 32767.5 << qint64(32768) << false;
    QTest::newRow("i32 -32769") << 32 << -32769.0 << qint64(-32769) << false;
}

void TestNumeric::rounding() {
    QFETCH(int, width);
    QFETCH(double, value);
    QFETCH(qint64, expected);
    QFETCH(bool, overflow);
    qint64 result = 0;
    const auto error = error_of([&] {
        result = width == 16 ? platform::round_to_i16(value) : platform::round_to_i32(value);
    });
    if (overflow) {
        QCOMPARE(error, std::optional(ErrorNumber::Overflow));
    } else {
        QCOMPARE(error, std::nullopt);
        QCOMPARE(result, expected);
    }
}

void TestNumeric::rounding_ignores_rounding_mode() {
    // Someone else may leave the floating-point environment in another rounding mode.
    const int saved = std::fegetround();
    for (const int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        std::fesetround(mode);
        const int r1 = platform::round_to_i16(2.5);
        const int r2 = platform::round_to_i16(-1.5);
        const int r3 = platform::round_to_i32(0.5);
        const int r4 = platform::round_to_i32(2.4);
        const int r5 = platform::round_to_i32(-2.6);
        std::fesetround(saved);
        QCOMPARE(r1, 2);
        QCOMPARE(r2, -2);
        QCOMPARE(r3, 0);
        QCOMPARE(r4, 2);
        QCOMPARE(r5, -3);
    }
}

// --- float fault test and singles -----------------------------------------------------------

void TestNumeric::float_fault_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("double_fault"); // fp_check raises
    QTest::addColumn<bool>("single_fault"); // to_single raises
    QTest::addColumn<float>("single");
    const double largest_single = std::numeric_limits<float>::max();
    QTest::newRow("inf") << inf_value << true << true << 0.0f;
    QTest::newRow("-inf") << -inf_value << true << true << 0.0f;
    QTest::newRow("nan") << nan_value << true << true << 0.0f;
    QTest::newRow("1e39") << 1e39 << false << true << 0.0f;
    QTest::newRow("-1e39") << -1e39 << false << true << 0.0f;
    QTest::newRow("largest double") << std::numeric_limits<double>::max() << false << true << 0.0f;
    // Half an ulp above the largest single rounds (to even) up to infinity ...
    QTest::newRow("single overflow tie") << 0x1.ffffffp127 << false << true << 0.0f;
    // ... anything below it down to the largest single.
    QTest::newRow("below single overflow tie") << std::nextafter(0x1.ffffffp127, 0.0) << false
                                               << false << std::numeric_limits<float>::max();
    QTest::newRow("largest single")
        << largest_single << false << false << std::numeric_limits<float>::max();
    QTest::newRow("1e-50 to zero") << 1e-50 << false << false << 0.0f;
    // (1 - 2^-24) * 5000 lies 0.61 ulp of a single below 5000: the nearest single is one ulp
    // (2^-11) below.
    QTest::newRow("5000 * below one")
        << double(below_one) * 5000.0 << false << false << float(5000.0 - 1.0 / 2048.0);
    QTest::newRow("10000 * below one")
        << double(below_one) * 10000.0 << false << false << float(10000.0 - 1.0 / 1024.0);
    // Ties go to even: 1 + 2^-24 lies halfway between 1 and the next single.
    QTest::newRow("tie to even") << 1.0 + 0x1p-24 << false << false << 1.0f;
    QTest::newRow("tie to even up") << 1.0 + 3 * 0x1p-24 << false << false << 1.0f + 0x1p-22f;
}

void TestNumeric::float_fault() {
    QFETCH(double, value);
    QFETCH(bool, double_fault);
    QFETCH(bool, single_fault);
    QFETCH(float, single);

    double checked = 0.0;
    const auto double_error = error_of([&] { checked = platform::fp_check(value); });
    if (double_fault) {
        QCOMPARE(double_error, std::optional(ErrorNumber::FloatingPoint));
    } else {
        QCOMPARE(double_error, std::nullopt);
        QCOMPARE(checked, value);
    }

    float result = 0.0f;
    const auto single_error = error_of([&] { result = platform::to_single(value); });
    if (single_fault) {
        QCOMPARE(single_error, std::optional(ErrorNumber::FloatingPoint));
    } else {
        QCOMPARE(single_error, std::nullopt);
        // Exact, not QCOMPARE's fuzzy float compare.
        QVERIFY2(result == single, qPrintable(QString::number(double(result), 'g', 17)));
    }
}

void TestNumeric::float_functions_data() {
    QTest::addColumn<QString>("function");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("error"); // 0: none
    const int invalid = int(ErrorNumber::InvalidCall);
    const int fault = int(ErrorNumber::FloatingPoint);
    QTest::newRow("sqrt 0") << "sqrt" << 0.0 << 0.0 << 0.0 << 0;
    QTest::newRow("sqrt negative") << "sqrt" << -1.0 << 0.0 << 0.0 << invalid;
    QTest::newRow("sqrt tiny negative") << "sqrt" << -1e-300 << 0.0 << 0.0 << invalid;
    QTest::newRow("power overflow") << "power" << 10.0 << 400.0 << 0.0 << fault;
    QTest::newRow("power zero to negative") << "power" << 0.0 << -1.0 << 0.0 << fault;
    QTest::newRow("power root of negative") << "power" << -8.0 << 1.0 / 3.0 << 0.0 << fault;
    QTest::newRow("power negative whole") << "power" << -2.0 << 3.0 << -8.0 << 0;
    QTest::newRow("int -0.5") << "int" << -0.5 << 0.0 << -1.0 << 0;
    QTest::newRow("int -2") << "int" << -2.0 << 0.0 << -2.0 << 0;
    QTest::newRow("int -2.000001") << "int" << -2.000001 << 0.0 << -3.0 << 0;
    QTest::newRow("int 2.999") << "int" << 2.999 << 0.0 << 2.0 << 0;
}

void TestNumeric::float_functions() {
    QFETCH(QString, function);
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, expected);
    QFETCH(int, error);
    double result = 0.0;
    const auto raised = error_of([&] {
        if (function == u"sqrt")
            result = platform::square_root(a);
        else if (function == u"power")
            result = platform::power(a, b);
        else
            result = platform::int_part(a);
    });
    if (error != 0) {
        QCOMPARE(raised, std::optional(ErrorNumber(error)));
    } else {
        QCOMPARE(raised, std::nullopt);
        QCOMPARE(result, expected);
    }
}

// --- numbers to text ------------------------------------------------------------------------

void TestNumeric::int_text_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << "0";
    QTest::newRow("negative") << -12 << "-12";
    QTest::newRow("positive, no blank") << 199 << "199";
    QTest::newRow("no grouping") << 1234567 << "1234567";
    QTest::newRow("min") << std::numeric_limits<int>::min() << "-2147483648";
    QTest::newRow("max") << std::numeric_limits<int>::max() << "2147483647";
}

void TestNumeric::int_text() {
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(platform::int_text(value), text);
}

void TestNumeric::number_text_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 15000.0 << "15000";
    QTest::newRow("negative whole") << -3.0 << "-3";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("largest whole without exponent") << 999999999999999.0 << "999999999999999";
    QTest::newRow("whole from a single") << double(float(16777216.0)) << "16777216";
    QTest::newRow("half") << 0.5 << "0.5";
    QTest::newRow("negative fraction") << -2.25 << "-2.25";
    // 15 significant digits hide the binary representation error.
    QTest::newRow("0.1") << 0.1 << "0.1";
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << "0.3";
    QTest::newRow("third") << 1.0 / 3.0 << "0.333333333333333";
    QTest::newRow("two thirds") << 2.0 / 3.0 << "0.666666666666667";
    QTest::newRow("large fraction") << 12345.678 << "12345.678";
    QTest::newRow("small") << 0.001 << "0.001";
    // Beyond that range the run time switches to its exponent form.
    QTest::newRow("tiny") << 0.00001 << "1E-05";
    QTest::newRow("huge") << 1e15 << "1E+15";
}

void TestNumeric::number_text() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(platform::number_text(value), text);
}

// --- text to numbers ------------------------------------------------------------------------

void TestNumeric::text_to_number_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("error"); // 0: none
    const int mismatch = int(ErrorNumber::TypeMismatch);
    QTest::newRow("empty") << "" << 0.0 << 0;
    QTest::newRow("blanks") << "   " << 0.0 << 0;
    QTest::newRow("whole") << "199" << 199.0 << 0;
    QTest::newRow("zero") << "0" << 0.0 << 0;
    QTest::newRow("negative") << "-4" << -4.0 << 0;
    QTest::newRow("plus") << "+7" << 7.0 << 0;
    QTest::newRow("blanks around") << " 12 " << 12.0 << 0;
    QTest::newRow("tab around") << "\t12\t" << 12.0 << 0;
    QTest::newRow("fraction") << "1.5" << 1.5 << 0;
    QTest::newRow("fraction only") << ".5" << 0.5 << 0;
    QTest::newRow("point at end") << "5." << 5.0 << 0;
    QTest::newRow("negative fraction") << "-0.25" << -0.25 << 0;
    QTest::newRow("exponent") << "1e3" << 1000.0 << 0;
    QTest::newRow("capital exponent, negative") << "25E-2" << 0.25 << 0;
    QTest::newRow("signed exponent") << "-2.5e+1" << -25.0 << 0;
    QTest::newRow("leading zeros") << "007" << 7.0 << 0;
    QTest::newRow("what number_text writes") << "0.333333333333333" << 0.333333333333333 << 0;
    QTest::newRow("letters") << "abc" << 0.0 << mismatch;
    QTest::newRow("trailing letters") << "12abc" << 0.0 << mismatch;
    QTest::newRow("sign only") << "-" << 0.0 << mismatch;
    QTest::newRow("point only") << "." << 0.0 << mismatch;
    QTest::newRow("exponent only") << "e5" << 0.0 << mismatch;
    QTest::newRow("exponent without digits") << "1e" << 0.0 << mismatch;
    QTest::newRow("exponent sign without digits") << "1e+" << 0.0 << mismatch;
    QTest::newRow("two points") << "1.2.3" << 0.0 << mismatch;
    QTest::newRow("blank inside") << "1 2" << 0.0 << mismatch;
    QTest::newRow("blank after sign") << "- 1" << 0.0 << mismatch;
    QTest::newRow("two signs") << "--1" << 0.0 << mismatch;
    QTest::newRow("decimal comma") << "1,5" << 0.0 << mismatch;
    QTest::newRow("grouping") << "1,000" << 0.0 << mismatch;
    QTest::newRow("hex") << "0x10" << 0.0 << mismatch;
    QTest::newRow("inf") << "inf" << 0.0 << mismatch;
    QTest::newRow("nan") << "nan" << 0.0 << mismatch;
    QTest::newRow("line break") << "12\n" << 0.0 << mismatch;
    QTest::newRow("arabic-indic digit") << QString(QChar(0x0661)) << 0.0 << mismatch;
    QTest::newRow("beyond double") << "1e400" << 0.0 << int(ErrorNumber::Overflow);
}

void TestNumeric::text_to_number() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QFETCH(int, error);
    double result = -1.0;
    const auto raised = error_of([&] { result = platform::text_to_number(text); });
    if (error != 0) {
        QCOMPARE(raised, std::optional(ErrorNumber(error)));
    } else {
        QCOMPARE(raised, std::nullopt);
        QCOMPARE(result, expected);
    }
}

void TestNumeric::text_to_number_ignores_locale() {
    // A user whose locale writes a decimal comma must still read the game's own texts.
    const QLocale saved_default;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const char* c_locale = std::setlocale(LC_NUMERIC, "de_DE.UTF-8"); // may not be installed
    const QString saved_c = QString::fromLatin1(c_locale ? c_locale : "C");
    const double point = platform::text_to_number(QStringLiteral("1.5"));
    const auto comma = error_of([] { platform::text_to_number(QStringLiteral("1,5")); });
    const QString text = platform::number_text(2.25);
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(saved_default);
    QCOMPARE(point, 1.5);
    QCOMPARE(comma, std::optional(ErrorNumber::TypeMismatch));
    QCOMPARE(text, QStringLiteral("2.25"));
}

void TestNumeric::text_compare_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("expected");
    QTest::newRow("equal") << "abc"
                           << "abc" << 0;
    QTest::newRow("both empty") << ""
                                << "" << 0;
    QTest::newRow("null and empty") << QString() << "" << 0;
    QTest::newRow("case differs") << "a"
                                  << "A" << 1;
    QTest::newRow("trailing blank") << "a "
                                    << "a" << 1;
    QTest::newRow("leading blank") << " a"
                                   << "a" << -1;
    QTest::newRow("prefix") << "ab"
                            << "abc" << -1;
    QTest::newRow("code unit order") << "b"
                                     << "abc" << 1;
    QTest::newRow("cyrillic case") << "Стоп"
                                   << "стоп" << -1;
    QTest::newRow("cyrillic yo") << "Ё"
                                 << "Е" << -1; // U+0401 before U+0415
    QTest::newRow("cyrillic equal") << "Приз"
                                    << "Приз" << 0;
}

void TestNumeric::text_compare() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, expected);
    QCOMPARE(platform::text_compare(a, b), expected);
    QCOMPARE(platform::text_compare(b, a), -expected);
}

// --- random numbers -------------------------------------------------------------------------

void TestNumeric::generator_unseeded_sequence() {
    // Without randomize the run time always starts with the same numbers.
    platform::RandomGenerator generator;
    QCOMPARE(generator.state(), 0x50000u);
    QCOMPARE(generator.next(), 11837123.0f / 16777216.0f); // 0.7055475
    QCOMPARE(generator.next(), 8949370.0f / 16777216.0f);  // 0.533424
    QCOMPARE(generator.next(), 9722709.0f / 16777216.0f);  // 0.5795186
}

void TestNumeric::generator_randomize_data() {
    QTest::addColumn<uint>("state");
    QTest::addColumn<float>("seed");
    QTest::addColumn<uint>("expected");
    // The folded seed replaces the upper 16 of the 24 state bits; the low byte is kept.
    QTest::newRow("1.0") << 0x50000u << 1.0f << 0x3F8000u;
    QTest::newRow("0.5") << 0x50000u << 0.5f << 0x3F0000u;
    QTest::newRow("zero keeps low byte") << 0x1234ABu << 0.0f << 0x0000ABu;
    QTest::newRow("-1 over all ones") << 0xFFFFFFu << -1.0f << 0xBF80FFu;
    // 0.1f is 0x3DCCCCCD: both halves count, 0x3DCC ^ 0xCCCD = 0xF101.
    QTest::newRow("0.1 folds both halves") << 0x50000u << 0.1f << 0xF10100u;
}

void TestNumeric::generator_randomize() {
    QFETCH(uint, state);
    QFETCH(float, seed);
    QFETCH(uint, expected);
    platform::RandomGenerator generator;
    generator.set_state(state);
    generator.randomize(seed);
    QCOMPARE(generator.state(), expected);
}

void TestNumeric::generator_same_seed_same_sequence() {
    platform::RandomGenerator a;
    platform::RandomGenerator b;
    a.randomize(1234.5f);
    b.randomize(1234.5f);
    for (int i = 0; i < 1000; ++i)
        QCOMPARE(a.next(), b.next());
}

void TestNumeric::generator_values_are_singles_in_range() {
    platform::RandomGenerator generator;
    generator.randomize(42.0f);
    for (int i = 0; i < 100000; ++i) {
        const float value = generator.next();
        if (!(value >= 0.0f && value < 1.0f))
            QFAIL(qPrintable(QStringLiteral("value %1 out of range at step %2").arg(value).arg(i)));
        // A multiple of 2^-24 below 1 is a whole number of 2^-24 steps below 2^24.
        const double steps = double(value) * 16777216.0;
        if (steps != std::floor(steps))
            QFAIL(qPrintable(QStringLiteral("value %1 not a multiple of 2^-24").arg(value)));
        if (generator.state() > 0xFFFFFFu)
            QFAIL("state beyond 24 bits");
    }
}

void TestNumeric::generator_different_seeds_differ() {
    platform::RandomGenerator a;
    platform::RandomGenerator b;
    a.randomize(1.0f);
    b.randomize(2.0f);
    QVERIFY(a.next() != b.next());
    // The process-wide generator is one instance.
    QCOMPARE(&platform::random_generator(), &platform::random_generator());
}

// --- time of day ----------------------------------------------------------------------------

void TestNumeric::time_of_day_source() {
    platform::set_time_of_day_source([] { return 3600.5f; });
    const float fixed = platform::time_of_day();
    platform::set_time_of_day_source({});
    const float real = platform::time_of_day();
    QCOMPARE(fixed, 3600.5f);
    QVERIFY(real >= 0.0f && real <= 86400.0f);
    QVERIFY(real != 3600.5f || platform::time_of_day() != 3600.5f);
}

QTEST_GUILESS_MAIN(TestNumeric)
#include "test_numeric.moc"
