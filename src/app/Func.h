// The about box and the commands that lead out of the program (ui/AboutForm.cpp).
#pragma once

void ShowAboutBox();
void OpenHomePage();
void OpenMail();
void OpenHelp();
