counter set 4
counter divide 0
