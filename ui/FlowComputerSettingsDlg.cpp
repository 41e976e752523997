#include "ui/FlowComputerSettingsDlg.h"

#include "station/Station.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

using Form = CFlowComputerSettingsForm;

QLabel* Explanation(const char* text)
{
    auto* label = new QLabel(QString::fromUtf8(text));
    label->setWordWrap(true);
    return label;
}

// A row of a group: label, edit, and what follows the edit.
void AddRow(QGridLayout* grid, int row, const QString& label, QLineEdit* edit, QWidget* after = nullptr)
{
    grid->addWidget(new QLabel(label), row, 0);
    grid->addWidget(edit, row, 1);
    if (after)
        grid->addWidget(after, row, 2);
}

QGroupBox* Group(const QString& title, const char* explanation, QGridLayout*& grid)
{
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    if (explanation)
        layout->addWidget(Explanation(explanation));
    grid = new QGridLayout;
    grid->setColumnMinimumWidth(0, 110);
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);
    return group;
}

} // namespace

CFlowComputerSettingsDlg::CFlowComputerSettingsDlg(CStation& station, QWidget* parent)
    : QDialog(parent), m_station(station), m_form(station)
{
    setWindowTitle(tr("Flow Computer Settings"));
    for (auto& edit : m_arrEdits) {
        edit = new QLineEdit;
        edit->setAlignment(Qt::AlignRight);
        edit->setFixedWidth(90);
    }
    m_pTC = new QLabel;
    m_pBigStepFlow = new QLabel;
    m_pZeroScreenFlow = new QLabel;

    QGridLayout* grid = nullptr;
    QGroupBox* bad =
        Group(tr("Bad Data Handling"),
              "If the specified number of bad data readings are found, the bad data current will be "
              "output until good data is received.",
              grid);
    AddRow(grid, 0, tr("Bad Readings:"), m_arrEdits[Form::BadReadings]);
    AddRow(grid, 1, tr("Bad Data Output:"), m_arrEdits[Form::BadDataOutput], new QLabel(tr("mA")));

    QGroupBox* none =
        Group(tr("No Data Timeout"),
              "If the specified timeout elapses with no data received, the no data current will be "
              "output until data is received.",
              grid);
    AddRow(grid, 0, tr("Timeout:"), m_arrEdits[Form::Timeout], new QLabel(tr("(sec)")));
    AddRow(grid, 1, tr("No Data Output:"), m_arrEdits[Form::NoDataOutput], new QLabel(tr("mA")));

    QGroupBox* smoothing =
        Group(tr("Smoothing"),
              "Smoothing is performed based on the TCF.  If the proportional change is greater "
              "than the big step value, no smoothing is performed.  If the proportional value is "
              "less than zero screen, zero is output.",
              grid);
    auto* tc = new QHBoxLayout;
    tc->addWidget(new QLabel(tr("TC:")));
    tc->addWidget(m_pTC, 1);
    auto* tcBox = new QWidget;
    tcBox->setLayout(tc);
    tc->setContentsMargins(12, 0, 0, 0);
    AddRow(grid, 0, tr("TCF:"), m_arrEdits[Form::TCF], tcBox);
    AddRow(grid, 1, tr("Big Step:"), m_arrEdits[Form::BigStep], m_pBigStepFlow);
    AddRow(grid, 2, tr("Zero Screen:"), m_arrEdits[Form::ZeroScreen], m_pZeroScreenFlow);

    QGroupBox* pulse = Group(tr("Totalizer Pulse"), nullptr, grid);
    AddRow(grid, 0, tr("Pulse Time:"), m_arrEdits[Form::PulseTime], new QLabel(tr("(sec)")));

    m_pRestore = new QPushButton(tr("Restore Defaults"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->addButton(m_pRestore, QDialogButtonBox::ResetRole);

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(bad);
    left->addWidget(none);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(smoothing);
    right->addWidget(pulse);
    right->addStretch(1);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    setMinimumWidth(720);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pRestore, &QPushButton::clicked, this, [this] {
        m_form.RestoreDefaults();
        WriteControls();
        UpdateTimeConstant();
        UpdateFlows();
    });
    // While an edit is empty its figure keeps what it showed.
    connect(m_arrEdits[Form::TCF], &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!text.isEmpty())
            UpdateTimeConstant();
    });
    for (Form::EField field : {Form::BigStep, Form::ZeroScreen})
        connect(m_arrEdits[field], &QLineEdit::textChanged, this, [this](const QString& text) {
            if (!text.isEmpty())
                UpdateFlows();
        });

    m_messenger = [this](const std::string& text) {
        QString shown = QString::fromStdString(text);
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QMessageBox::warning(this, windowTitle(), shown.trimmed());
    };
    WriteControls();
    UpdateTimeConstant();
    UpdateFlows();
}

Form::Edits CFlowComputerSettingsDlg::ReadControls() const
{
    Form::Edits edits;
    for (size_t i = 0; i < edits.size(); ++i)
        edits[i] = m_arrEdits[i]->text().toStdString();
    return edits;
}

void CFlowComputerSettingsDlg::WriteControls()
{
    const Form::Edits edits = m_form.WriteEdits();
    for (size_t i = 0; i < edits.size(); ++i) {
        const QSignalBlocker block(m_arrEdits[i]);
        m_arrEdits[i]->setText(QString::fromStdString(edits[i]));
    }
}

void CFlowComputerSettingsDlg::UpdateTimeConstant()
{
    m_form.ReadEdits(ReadControls());
    m_pTC->setText(QString::fromStdString(m_form.TimeConstantText(m_station)));
}

void CFlowComputerSettingsDlg::UpdateFlows()
{
    m_form.ReadEdits(ReadControls());
    m_pBigStepFlow->setText(QString::fromStdString(m_form.BigStepText(m_station)));
    m_pZeroScreenFlow->setText(QString::fromStdString(m_form.ZeroScreenText(m_station)));
}

void CFlowComputerSettingsDlg::accept()
{
    std::string message;
    if (!m_form.Accept(ReadControls(), message)) {
        if (m_messenger)
            m_messenger(message);
        return;
    }
    m_form.StoreTo(m_station);
    QDialog::accept();
}
