#include "Application.h"

int main(int argc, char** argv)
{
    return RunTaskwick(argc, argv);
}
