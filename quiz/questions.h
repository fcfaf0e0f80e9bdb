#pragma once

// The bank of fifteen questions. Each shows its screen until its right letter
// is typed, counting the wrong answers in ATT, and marks itself in ASKED.

void Q1();
void Q2();
void Q3();
void Q4();
void Q5();
void Q6();
void Q7();
void Q8();
void Q9();
void Q10();
void Q11();
void Q12();
void Q13();
void Q14();
void Q15();
