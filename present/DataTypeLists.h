#pragma once
// The two lists of the Graphics Preferences dialog: the data types the table shows, in
// order, and the others; moving entries between them and up and down, with the selection
// rules the dialog follows. Plain data so that every move can be checked without a screen.
#include <vector>

class CDataTypeLists
{
  public:
    static constexpr int FIRST_TYPE = 1, LAST_TYPE = 11;

    // Displayed: the given codes in order; available: every other code 1..11 in code order.
    void Load(const std::vector<int>& displayed);

    // Each acts only when its source list has a selection.
    void MoveToDisplayed();
    void MoveToAvailable();
    void MoveUp();
    void MoveDown();

    std::vector<int> m_arrDisplayed, m_arrAvailable;
    int m_nDisplayedSel = -1, m_nAvailableSel = -1;

  private:
    static void Move(std::vector<int>& from, int& fromSel, std::vector<int>& to, int& toSel);
};
