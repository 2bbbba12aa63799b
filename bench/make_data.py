#!/usr/bin/env python3
"""Writes a large data folder for the figures: tasks in 20 categories, every tenth with a
reminder a month ahead (1,000 of 10,000), in United States formats (run the program with
LANG=en_US.UTF-8).

    make_data.py <folder> [tasks]
"""
import datetime
import sys


def write(folder, count=10000):
    due = datetime.datetime.now() + datetime.timedelta(days=30)
    date = "%d/%d/%02d" % (due.month, due.day, due.year % 100)
    hour = due.hour % 12 or 12
    time = "%d:%02d:%02d %s" % (hour, due.minute, due.second, "AM" if due.hour < 12 else "PM")
    categories = ["category20081124202715129"] + ["category2026010100000%04d" % i for i in range(1, 20)]
    with open(folder + "/category.qrn", "w", newline="") as f:
        f.write("<categorylist>\r\n<category20081124202715129><categoryname>Personal</categoryname>"
                "<categoryiconid>4</categoryiconid></category20081124202715129>\r\n")
        for i, c in enumerate(categories[1:], 1):
            f.write("<%s><categoryname>Category %d</categoryname><categoryiconid>%d</categoryiconid></%s>\r\n"
                    % (c, i, 4 + i % 10, c))
        f.write("</categorylist>\r\n")
    with open(folder + "/task.qrn", "w", newline="") as f:
        f.write("<tasklist>\r\n")
        for i in range(count):
            task = "task20260101%09d" % i
            f.write("<%s><taskname>Task %d</taskname><taskcategoryid>%s</taskcategoryid><taskpriorityid>%d"
                    "</taskpriorityid><taskcontent>Content of task %d</taskcontent><taskduedate>none</taskduedate>"
                    "<taskreminderstate>%s</taskreminderstate><taskremindertime>%s</taskremindertime>"
                    "<taskreminderdate>%s</taskreminderdate><taskstate>false</taskstate>"
                    "<markformstate>false</markformstate><markformtop>0</markformtop><markformleft>0</markformleft>"
                    "</%s>\r\n" % (task, i, categories[i % 20], i % 3, i, "true" if i % 10 == 0 else "false",
                                   time, date, task))
        f.write("</tasklist>\r\n")


if __name__ == "__main__":
    write(sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 10000)
