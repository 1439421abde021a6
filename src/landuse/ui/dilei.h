#pragma once
#include <QDialog>

class QComboBox;

namespace kelvor {
class Context;
}

namespace kelvor::landuse {

// 土地分类项目: the land classes of the CommonFile in three drop-down lists
// (Combo1(0) 农用地, Combo1(1) 建设用地, Combo1(2) 未利用土地, each under its
// Label1), filled at every opening; choosing a name places its code in the
// drawing, 查询地类编码 (Command1) names picked code texts. Controls carry
// their form names as objectName.
class Dilei : public QDialog {
    Q_OBJECT
public:
    explicit Dilei(Context& ctx, QWidget* parent = nullptr);

    void Combo1_Click(int index);
    void Command1_Click(); // 查询地类编码

    // The height in pixels a box takes with its list dropped down (its edit
    // field included), and the smallest width of that list.
    static void SetComboHeight(QComboBox* box, int height);
    static void SetComboWidth(QComboBox* box, int width);

private:
    Context& ctx_;
    QComboBox* combo1_[3] = {};
};

} // namespace kelvor::landuse
