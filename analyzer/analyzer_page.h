#pragma once
// What the four analyzer pages share: the title and its rule, the explanatory text, bold
// result captions, and taking typed values into fields with range checks.

#include <QString>
#include <QWidget>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class CLabel;
class CCustomPropertySheet;

// The explanatory texts the pages start with.
namespace AnalyzerText {
inline const char *const kCompareHint = "Please enter the terms of a proposed loan above. Then tap "
                                        "Refresh to compare it with your current loan.";
inline const char *const kWhatIfHint = "Please select one of the above scenerios, enter an amount, "
                                       "and then tap Refresh to see how your loan is affected.";
inline const char *const kDetailsHint = "Here is some basic information about this loan. Please "
                                        "check the numbers and modify them if necessary.";
inline const char *const kNotAvailable = "N/A";
inline const char *const kCaption = "Loan Analyzer";
} // namespace AnalyzerText

// The rows the Details and Compare pages share: principal, rate and term, then the payment and
// total interest they give.
struct LoanEntryRows
{
    QLineEdit *principal = nullptr;
    QLineEdit *rate = nullptr;
    QLineEdit *termNumber = nullptr;
    QComboBox *termUnit = nullptr;
    QLabel *payment = nullptr;
    QLabel *totalInterest = nullptr;
};

// What those rows hold once taken in.
struct LoanEntryValues
{
    float principal = 0;
    float rate = 0;
    int termNumber = 0;
};

class CAnalyzerPage : public QWidget
{
    Q_OBJECT

public:
    CAnalyzerPage(CCustomPropertySheet *sheet, const QString &caption);

    CCustomPropertySheet *sheet() const { return m_sheet; }
    QString caption() const { return m_caption; }
    QPushButton *refreshButton() const { return m_refresh; }
    CLabel *hintLabel() const { return m_hint; }
    CLabel *titleLabel() const { return m_title; }

    // Opens the page the first time it is needed (the handheld created pages on first show).
    void ensureInitialised();
    bool isInitialised() const { return m_initialised; }

    virtual void refresh() = 0;

    // A value the edits show: the shortest text that reads back as the same float, with the
    // locale's decimal separator and no grouping.
    static QString floatText(float value, const QLocale &locale);
    // Reads a typed number in the locale's form or the C form; false for anything else,
    // including infinities and NaN.
    static bool parseFloat(const QString &text, const QLocale &locale, float &value);
    // Optional sign and digits only, surrounded by blanks, fitting 32 bits.
    static bool parseInt(const QString &text, int &value);

protected:
    virtual void initialise() = 0;

    // Builds title + rule at the top; returns the layout the page adds its rows to.
    QVBoxLayout *buildFrame(const QString &title, bool ruleUnderTitle = true);
    // The explanatory text, added at the bottom of the page's layout.
    CLabel *addHint(QVBoxLayout *layout);
    QPushButton *makeRefreshButton(const QString &text = QStringLiteral("&Refresh"));
    void setTitleText(const QString &title);
    static void makeBold(CLabel *caption);
    static void styleHint(CLabel *hint);
    void styleTitle();

    // Takes an edit into a field, or shows why not, brings this page forward and selects the
    // edit so that the user can correct it. what: "the principal", ...
    bool takeFloat(QLineEdit *edit, float &value, double min, double max, const QString &what);
    bool takeInt(QLineEdit *edit, int &value, int min, int max, const QString &what);
    bool refuse(QWidget *control, const QString &message);

    // A bold caption and the label that shows its value, spanning columns 1 and 2.
    QLabel *addResultRow(QGridLayout *grid, int row, const QString &caption, const QString &name);
    // Adds the loan rows to the page's layout.
    LoanEntryRows addLoanRows(QVBoxLayout *layout);
    // Shows the values in the edits (the term controls are set separately).
    void showLoanValues(const LoanEntryRows &rows, const LoanEntryValues &values);
    // Takes the edits in with the limits both pages use; false (after the message) when one
    // is refused, leaving values as they were.
    bool takeLoanValues(const LoanEntryRows &rows, LoanEntryValues &values);
    // "N/A" for both unless the loan has a usable payment (Loan::IsUsablePayment); a total that
    // cannot be worked out (NaN) shows "N/A" on its own.
    void showResults(const LoanEntryRows &rows, bool usable, float payment, float totalInterest);
    void showNoResults(const LoanEntryRows &rows) { showResults(rows, false, 0, 0); }

    void resizeEvent(QResizeEvent *event) override;

private:
    void updateTitleElision();

    CCustomPropertySheet *m_sheet;
    QString m_caption;
    QString m_fullTitle;
    CLabel *m_title = nullptr;
    CLabel *m_hint = nullptr;
    QPushButton *m_refresh = nullptr;
    bool m_initialised = false;
};
