#!/usr/bin/python3
"""Exact values of + - * / ( ) expressions over decimals, with the error the evaluator may add.

Reads one expression per line (decimal point "."), writes per line either "OK <exact> <bound>"
or "SKIP" (a divisor that may be zero within the bound). The evaluator reads each typed number
to the nearest double, writes every operator's result back with 16 decimals and every
parenthesised group with 16 significant digits; the bound follows those roundings.
"""
import re
import sys
from fractions import Fraction

ULP = Fraction(1, 2 ** 52)              # one rounding of a double, generously
SIXTEEN_DECIMALS = Fraction(1, 10 ** 16)
SIXTEEN_DIGITS = Fraction(6, 10 ** 16)  # 16 significant digits plus the read back


class Skip(Exception):
    pass


class Parser:
    def __init__(self, text):
        self.t = re.findall(r"\d+(?:\.\d+)?|.", text)
        self.i = 0

    def peek(self):
        return self.t[self.i] if self.i < len(self.t) else None

    def take(self):
        self.i += 1
        return self.t[self.i - 1]

    @staticmethod
    def rounded(value, error):
        # an operator's result: the double operation, then 16 decimals, then read back
        return value, error + (abs(value) + error) * ULP * 2 + SIXTEEN_DECIMALS

    def expr(self):
        a, ea = self.term()
        while self.peek() in ("+", "-"):
            op = self.take()
            b, eb = self.term()
            a, ea = self.rounded(a + b if op == "+" else a - b, ea + eb)
        return a, ea

    def term(self):
        a, ea = self.factor()
        while self.peek() in ("*", "/"):
            op = self.take()
            b, eb = self.factor()
            if op == "*":
                a, ea = self.rounded(a * b, abs(a) * eb + abs(b) * ea + ea * eb)
            elif abs(b) <= eb:
                raise Skip()
            else:
                a, ea = self.rounded(a / b, (abs(a) * eb + abs(b) * ea) / (abs(b) * (abs(b) - eb)))
        return a, ea

    def factor(self):
        sign = -1 if self.peek() == "-" else 1
        if sign < 0:
            self.take()  # only ever before a group
        if self.peek() == "(":
            self.take()
            v, e = self.expr()
            assert self.take() == ")"
            return sign * v, e + (abs(v) + e) * SIXTEEN_DIGITS
        v = Fraction(self.take())
        return v, abs(v) * ULP


def main():
    with open(sys.argv[1]) as source, open(sys.argv[2], "w") as target:
        for line in source:
            try:
                value, error = Parser(line.strip()).expr()
                # comparing with the nearest double of the exact value costs one more rounding
                target.write("OK %r %r\n" % (float(value), float(2 * error + abs(value) * ULP)))
            except Skip:
                target.write("SKIP\n")


if __name__ == "__main__":
    main()
