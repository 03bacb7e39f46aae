#pragma once
// Writing a fill plan into the calculator, through its boxes: which boxes
// would lose a number of their own, the question that names them, and the
// fill itself.

#include <QString>
#include <QStringList>

#include "calculator_boxes.h"
#include "fill_plan.h"

namespace tarnwick::data_window {

bool calculatorIsMatched(const BoxAccess& calculator);

// The boxes the plan would change whose text is not empty and reads as
// another number, each as "spoken name: old becomes new". Empty when nothing
// is lost.
QStringList boxesThatWouldChange(const CalculatorBoxes& calculator, const FillPlan& plan);

// The question before a fill that changes `changed`, naming a switch of the
// calculator's design too; on lines a message box can wrap.
QString fillQuestion(const FillPlan& plan, const QStringList& changed, bool calculatorMatched);

// What a fill wrote, for a screen reader to hear once the calculator is back:
// "Filled the calculator's boxes: Group 1 Mean 10.5, ..., and Group 2 N 8;
// the design is independent samples." Each box by its spoken name, each
// number as read on screen.
QString fillNews(const CalculatorBoxes& calculator, const FillPlan& plan);

// Writes the plan's texts and selects its design.
void fillCalculator(CalculatorBoxes& calculator, const FillPlan& plan);

}  // namespace tarnwick::data_window
