#pragma once
// CPropertySheet: the modal sheet every record is edited in. Pages come in the order they are
// added; a page whose input is not acceptable cannot be left, neither for another page nor by
// OK. OK reads every page back, then hands over to the owner's commit step (which saves the
// record); when that fails the sheet stays open with the user's input.

#include <QDialog>

#include <functional>
#include <vector>

class CPropertyPage;
class QDialogButtonBox;
class QTabWidget;

class CPropertySheet : public QDialog
{
    Q_OBJECT
public:
    explicit CPropertySheet(const QString &title, QWidget *owner = nullptr);

    // The sheet does not own the pages' lifetime beyond its own: they become its children.
    void AddPage(CPropertyPage *page);
    int GetPageCount() const { return int(m_pages.size()); }
    CPropertyPage *GetPage(int index) const;
    int GetActiveIndex() const;
    // Shows the page at index when the current page may be left; false otherwise.
    bool SetActivePage(int index);

    // Runs after every page was read back on OK; returning false keeps the sheet open.
    void setCommit(std::function<bool()> commit) { m_commit = std::move(commit); }

    // Runs the sheet through the Ui seam; QDialog::Accepted when confirmed and committed.
    int DoModal();

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void onTabChanged(int index);

    QTabWidget *m_tabs = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    std::vector<CPropertyPage *> m_pages;
    std::function<bool()> m_commit;
    int m_current = -1;
    int m_startPage = 0;
    bool m_shown = false;
};
