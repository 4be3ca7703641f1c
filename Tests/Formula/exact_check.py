#!/usr/bin/python3
# Random expressions of + - * / ( ) over small decimals and variables, with their exact values.
# Usage: exact_check.py SEED COUNT SEPARATOR; prints "OK <expression> <exact> <bound>" per line (the
# expression with that decimal separator, the numbers with a point), or "SKIP <expression>" when a divisor
# may be zero within the bound. The bound follows the evaluator's roundings: each number read to the nearest
# double, each operator's result written back with 16 decimals, each group with 16 significant digits.
import random
import re
import sys
from fractions import Fraction

VARIABLES = {"Va": "-2.5", "Vb": "3.75", "Vc": "-0.04", "Vd": "12", "Ve": "-7.1"}
ULP = Fraction(1, 2 ** 52)              # one rounding of a double, generously
SIXTEEN_DECIMALS = Fraction(1, 10 ** 16)
SIXTEEN_DIGITS = Fraction(6, 10 ** 16)  # 16 significant digits plus the read back


def generate(rnd, depth):
    def operand():
        if rnd.randint(0, 9) < 2:  # a variable, often negative, sometimes spliced after a sign
            return rnd.choice(["-", "", "", ""]) + rnd.choice(sorted(VARIABLES))
        if depth > 0 and rnd.randint(0, 9) < 4:  # a group, sometimes spliced after a sign
            return rnd.choice(["-(", "(", "(", "(", "("]) + generate(rnd, depth - 1) + ")"
        decimals = "".join(str(rnd.randint(0, 9)) for _ in range(rnd.randint(0, 2)))
        return str(rnd.randint(0, 19)) + ("." + decimals if decimals else "")

    return operand() + "".join(rnd.choice("+-*/") + operand() for _ in range(rnd.randint(0, 3)))


def rounded(value, error):  # an operator's result: the double operation, then 16 decimals, then read back
    return value, error + (abs(value) + error) * ULP * 2 + SIXTEEN_DECIMALS


def evaluate(text):  # the exact value and the bound of the evaluator's error, read as the evaluator reads
    tokens = re.findall(r"\d+(?:\.\d+)?|V\w|.", text)[::-1]

    def take(*wanted):  # the next token when it is one of the wanted ones
        return tokens.pop() if tokens and tokens[-1] in wanted else None

    def expr():
        a, ea = term()
        while op := take("+", "-"):
            b, eb = term()
            a, ea = rounded(a + b if op == "+" else a - b, ea + eb)
        return a, ea

    def term():
        a, ea = factor()
        while op := take("*", "/"):
            b, eb = factor()
            if op == "*":
                a, ea = rounded(a * b, abs(a) * eb + abs(b) * ea + ea * eb)
            elif abs(b) <= eb:
                raise ZeroDivisionError()
            else:
                a, ea = rounded(a / b, (abs(a) * eb + abs(b) * ea) / (abs(b) * (abs(b) - eb)))
        return a, ea

    def factor():
        sign = -1 if take("-") else 1
        if take("("):
            v, e = expr()
            assert take(")")
            return sign * v, e + (abs(v) + e) * SIXTEEN_DIGITS
        token = tokens.pop()
        v = Fraction(VARIABLES.get(token, token))
        return sign * v, abs(v) * ULP

    return expr()


rnd = random.Random(int(sys.argv[1]))
for _ in range(int(sys.argv[2])):
    text = generate(rnd, 3)
    try:
        value, error = evaluate(text)
        # comparing with the nearest double of the exact value costs one more rounding
        print("OK %s %r %r" % (text.replace(".", sys.argv[3]), float(value), float(2 * error + abs(value) * ULP)))
    except ZeroDivisionError:
        print("SKIP %s" % text.replace(".", sys.argv[3]))
